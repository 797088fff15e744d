#include "qt/start.h"

#include "qt/application.h"
#include "qt/qt_host.h"
#include "runtime/dispatch/callback.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"

namespace rt {

int start(int& argc, char** argv, const NamedFn& entry, const FunctionTable& table,
          const StartOptions& options) {
    ensureApplication(&argc, argv);
    setUiLanguage(options.language);
    if (!useQtLanguage(options.language))
        warning("Qt's translations for \"" + options.language + "\" are not installed.");
    FunctionTable builtins;
    register_graphics_builtins(builtins);
    CallbackInterpreter interpreter(table, &builtins);
    QtHost host;
    host.setEvaluator([&interpreter](const std::string& code) { interpreter.eval(code); });
    Host* previous = setHost(&host);
    host.runAsCallback([&entry] { entry({}, 0); });
    Graphics& g = graphics();
    host.serveUntil([&g] { return g.figures().empty(); });
    setHost(previous);
    return 0;
}

}  // namespace rt
