// The five dialogs drawn with Qt Widgets.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "runtime/host.h"

namespace rt {

// The Qt filter for one row of a file dialog's filter list. The text shown is the description,
// followed by its patterns in parentheses only when it does not end in such a group already;
// Qt matches the patterns of a last group appended after it, which the dialog hides, with
// "*.*" matched as "*" so that "all files" lists names without a dot too.
QString fileDialogFilter(const FileFilter& filter);

// Where a dialog belongs: the window it opens centred over, and the control that has the
// keyboard focus back once the dialog is closed. Either may be null (then the screen's centre,
// and the focus stays where Qt puts it).
struct DialogOwner {
    QPointer<QWidget> window;
    QPointer<QWidget> focus;
};

// Centres `dialog` over `owner`'s frame, kept on the owner's screen, and makes it stand above
// the owner. Does nothing without an owner.
void placeOver(QWidget* dialog, QWidget* owner);

class QtDialogs : public Dialogs {
public:
    // Asked each time a dialog opens. Without one, dialogs belong to the active window.
    using OwnerLookup = std::function<DialogOwner()>;
    void setOwnerLookup(OwnerLookup lookup) { ownerLookup_ = std::move(lookup); }

    std::optional<FileChoice> getFile(const std::vector<FileFilter>& filters,
                                      const std::string& title) override;
    std::optional<FileChoice> putFile(const std::vector<FileFilter>& filters,
                                      const std::string& title) override;
    std::string question(const std::string& text, const std::string& title,
                         const std::vector<std::string>& buttons,
                         const std::string& defaultButton) override;
    std::optional<Rgb> color(const Rgb& initial) override;
    void error(const std::string& text, const std::string& title) override;
    void warning(const std::string& text, const std::string& title) override;

private:
    DialogOwner owner() const;
    void message(QMessageBox::Icon icon, const QString& name, const std::string& text,
                 const std::string& title);
    std::optional<FileChoice> runFileDialog(const std::vector<FileFilter>& filters,
                                            const std::string& title, bool save);

    OwnerLookup ownerLookup_;
};

}  // namespace rt
