#include "qt/application.h"

#include <QApplication>
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

}  // namespace rt
