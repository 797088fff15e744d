#include "qt/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>

namespace rt {

QApplication& ensureApplication(int* argc, char** argv) {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int noArgc = 1;
    static char name[] = "rovantel";
    static char* noArgv[] = {name, nullptr};
    if (!argc || !argv) {
        argc = &noArgc;
        argv = noArgv;
    }
    static QApplication* app = new QApplication(*argc, argv);  // lives to the process end
    QApplication::setQuitOnLastWindowClosed(false);
    return *app;
}

bool useQtLanguage(const std::string& language) {
    ensureApplication();
    static const QLocale startLocale;
    static QTranslator* translator = nullptr;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    if (language != "de" && language != "fr") {
        QLocale::setDefault(startLocale);
        return true;
    }
    const QLocale locale(QString::fromStdString(language));
    QLocale::setDefault(locale);
    auto* t = new QTranslator;
    if (!t->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
    return true;
}

}  // namespace rt
