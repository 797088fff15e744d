// The Qt host: screen facts, font metrics, dialogs, the event loop with its nested waits, and
// the one place where user actions become callbacks.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qt/qt_dialogs.h"
#include "runtime/graphics/graphics.h"
#include "runtime/host.h"

class QEventLoop;

namespace rt {

class FigureViews;
class FigureWindow;
class SceneBuilder;

class QtHost : public QObject, public Host {
    Q_OBJECT
public:
    // Creates the application if needed and shows the model's figures (one window each)
    // until destroyed. Dialogs are Qt's until setDialogs; they open over the window of the
    // figure whose control ran the callback that opens them (else the current figure's).
    // One QtHost at a time; the model asks screen and font questions of the installed host
    // (setHost).
    explicit QtHost(Graphics& g = graphics());
    ~QtHost() override;

    ScreenInfo screen() const override;
    TextMetrics measureText(const std::string& text, const FontSpec& font) const override;
    Dialogs& dialogs() override;
    // Replaces the dialogs (tests: scripted ones). Not owned; nullptr restores Qt's.
    void setDialogs(Dialogs* d);
    // The window a dialog opened now belongs to, and the control to give the focus back to.
    DialogOwner dialogOwner() const;
    void raiseFigure(double figure) override;

    void serveUntil(const std::function<bool()>& done) override;
    // Within the first moments of a callback, windows painted before keep their picture:
    // what they would show is half a change (FigureWindow's pointer goes through here too).
    void flush() override;
    void pause(double seconds) override;

    // How callback texts are evaluated (the interpreter over the table of functions).
    using Evaluator = std::function<void(const std::string& code)>;
    void setEvaluator(Evaluator e) { evaluator_ = std::move(e); }

    // Whether a user action may start a callback now: not while another callback runs,
    // unless that one is waiting (serveUntil) for the user.
    bool acceptsUserCallback() const;
    // Runs `code` for a user action. Refused (false) when acceptsUserCallback() is false.
    // An error ends the callback only: it becomes lasterr and is reported on standard error
    // and to the user (Dialogs::callbackError), unless the callback already showed an error
    // dialog of its own, which then stands for it.
    bool runUserCallback(const std::string& code);
    // Runs `work` as a callback would run (counts as running; errors reported, not thrown).
    // The current figure at the start is the one whose control ran it.
    void runAsCallback(const std::function<void()>& work);

    // Inside a running callback: delivers the user input queued meanwhile, so that it meets
    // the state it was made in (inactive controls eat it, other callbacks are refused).
    // Does nothing where callbacks are accepted.
    void swallowPendingInput();

    // Asks the waiting loops again whether they are done (after a model change).
    void scheduleCheck();

    // The window of a figure, or nullptr.
    FigureWindow* window(Handle figure) const;
    // What the windows paint their axes from (also behind getframe and print).
    SceneBuilder& scenes() { return *scenes_; }

private:
    class DialogRouter;
    // One running callback: where it came from, and whether it showed an error dialog.
    struct Frame {
        Handle figure;
        QPointer<QWidget> focus;
        bool errorShown;
        std::chrono::steady_clock::time_point began;
    };
    struct Wait {
        QEventLoop* loop;
        const std::function<bool()>* done;
        int depth;  // callbacks running when the wait began
    };
    void checkWaits();
    void reportError(const std::string& message);

    Graphics& g_;
    std::unique_ptr<QtDialogs> qtDialogs_;
    std::unique_ptr<DialogRouter> router_;
    std::unique_ptr<SceneBuilder> scenes_;
    std::unique_ptr<FigureViews> views_;
    Dialogs* dialogs_;
    Evaluator evaluator_;
    std::vector<Wait*> waits_;
    std::vector<Frame> frames_;
    int callbackDepth_ = 0;
    bool checkPending_ = false;
    bool swallowing_ = false;
};

// Reports an uncaught callback error the run-time's way (one line on standard error).
void reportCallbackError(const std::string& message);

}  // namespace rt
