#include "qt/url_fetch.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include "runtime/dispatch/error.h"

namespace rt {

void fetchUrl(const std::string& url, const std::string& target) {
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(30000);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    const QByteArray data = reply->readAll();
    const bool ok = reply->error() == QNetworkReply::NoError;
    const std::string reason = reply->errorString().toStdString();
    reply->deleteLater();
    if (!ok) throw Error("Can't read URL \"" + url + "\": " + reason);
    QFile out(QString::fromStdString(target));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(data) != data.size())
        throw Error("Can't write the temporary file \"" + target + "\".");
}

}  // namespace rt
