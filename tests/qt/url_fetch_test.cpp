#include "qt/url_fetch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "qt/application.h"
#include "runtime/dispatch/error.h"

namespace {

// Answers every request on the loopback with `status` and `body`, then closes.
class OneShotServer {
public:
    OneShotServer(std::string status, std::string body)
        : status_(std::move(status)), body_(std::move(body)) {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            QTcpSocket* s = server_.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                s->readAll();
                const std::string reply = "HTTP/1.1 " + status_ +
                                          "\r\nContent-Length: " + std::to_string(body_.size()) +
                                          "\r\nConnection: close\r\n\r\n" + body_;
                s->write(reply.data(), static_cast<qint64>(reply.size()));
                s->disconnectFromHost();
            });
        });
    }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }

private:
    QTcpServer server_;
    std::string status_, body_;
};

TEST(UrlFetch, CopiesTheBodyOrNamesTheFailure) {
    rt::ensureApplication();
    const auto file = std::filesystem::temp_directory_path() /
                      ("url_fetch_" + std::to_string(::getpid()) + ".bin");
    const std::string body("\x89PNG\r\n\x1a\n and bytes \0 after a NUL", 32);
    {
        OneShotServer ok("200 OK", body);
        rt::fetchUrl(ok.url("/sketch.png"), file.string());
        std::ifstream in(file, std::ios::binary);
        std::stringstream got;
        got << in.rdbuf();
        EXPECT_EQ(got.str(), body);
    }
    OneShotServer missing("404 Not Found", "no such picture");
    try {
        rt::fetchUrl(missing.url("/gone.png"), file.string());
        ADD_FAILURE() << "a 404 must fail";
    } catch (const rt::Error& e) {
        EXPECT_NE(std::string(e.what()).find(missing.url("/gone.png")), std::string::npos);
    }
    std::filesystem::remove(file);
}

}  // namespace
