#include "qt/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShowEvent>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWindow>
#include <utility>

#include "qt/application.h"
#include "qt/window_fit.h"

namespace rt {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

const QString kErrorName = QStringLiteral("errordlg");
const QString kWarningName = QStringLiteral("warndlg");

bool isMessageBox(const QWidget* w) {
    return w->objectName() == kErrorName || w->objectName() == kWarningName;
}

// A dialog that opens over its owner's window. Not the owner's child: the owner may be
// deleted while the dialog is up, and the dialog must outlive that.
template <class D>
class Owned : public D {
public:
    template <class... Args>
    explicit Owned(DialogOwner owner, Args&&... args)
        : D(std::forward<Args>(args)...), owner_(std::move(owner)) {}

    const DialogOwner& owner() const { return owner_; }

protected:
    void showEvent(QShowEvent* event) override {
        D::showEvent(event);  // settles the size and places it on the screen
        if (event->spontaneous()) return;
        placeOver(this, owner_.window);
        if (isMessageBox(this)) stepAside();
    }

private:
    // A second message must not hide the first.
    void stepAside() {
        for (int tries = 0; tries < 16; ++tries) {
            bool covered = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                covered |=
                    w != this && w->isVisible() && isMessageBox(w) && w->pos() == this->pos();
            if (!covered) return;
            this->move(this->pos() + QPoint(24, 24));
        }
    }

    DialogOwner owner_;
};

// Keyboard focus back to the control that opened a dialog, unless another dialog now blocks it.
void giveFocusBack(const QPointer<QWidget>& focus) {
    if (!focus || !focus->isVisible() || !focus->isEnabled()) return;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != focus->window())
        return;
    focus->window()->activateWindow();
    focus->setFocus(Qt::OtherFocusReason);
}

// Runs a blocking dialog; the focus goes back afterwards however it ended.
template <class D>
int runModal(Owned<D>& dlg) {
    dlg.setWindowModality(Qt::ApplicationModal);
    const int result = dlg.exec();
    giveFocusBack(dlg.owner().focus);
    return result;
}

QStringList patternsOf(const FileFilter& filter) {
    QStringList patterns = q(filter.pattern).split(u';', Qt::SkipEmptyParts);
    for (QString& p : patterns) p = p.trimmed();
    patterns.removeAll(QString());
    return patterns;
}

// "CFG Dateien (*.cfg)" already names its patterns; "PS Files" does not.
bool namesItsPatterns(const QString& description) {
    static const QRegularExpression group(QStringLiteral("\\([^()]*\\)$"));
    return group.match(description).hasMatch();
}

// Qt's default size cuts the type and date columns: the dialog is made wide enough to show
// them whole, within the screen.
void roomForColumns(Owned<QFileDialog>& dlg) {
    const QFontMetrics fm(dlg.font());
    QSize want(fm.averageCharWidth() * 110, fm.height() * 30);
    if (QScreen* screen = dlg.owner().window ? dlg.owner().window->screen() : dlg.screen())
        want = want.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dlg.resize(dlg.sizeHint().expandedTo(want));
    // The detail columns take what their texts need and the name column the rest.
    if (auto* list = dlg.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

}  // namespace

QString fileDialogFilter(const FileFilter& filter) {
    const QStringList patterns = patternsOf(filter);
    QString shown = q(filter.description).trimmed();
    if (shown.isEmpty())
        shown = patterns.join(u' ');
    else if (!namesItsPatterns(shown))
        shown += QStringLiteral(" (") + patterns.join(u' ') + u')';
    QStringList matched;
    for (const QString& p : patterns)
        matched << (p == QStringLiteral("*.*") ? QStringLiteral("*") : p);
    return shown + QStringLiteral(" (") + matched.join(u' ') + u')';
}

void placeOver(QWidget* dialog, QWidget* owner) {
    if (!dialog || !owner) return;
    QWidget* window = owner->window();
    if (dialog->windowHandle() && window->windowHandle())
        dialog->windowHandle()->setTransientParent(window->windowHandle());
    const QRect over = window->frameGeometry();
    const QSize size = dialog->frameGeometry().size();
    QPoint at = over.center() - QPoint(size.width() / 2, size.height() / 2);
    if (QScreen* screen = window->screen())
        at = placedWithin(QRect(at, size), ScreenRoom{screen->availableGeometry(), {}}).topLeft();
    dialog->move(at);
}

DialogOwner QtDialogs::owner() const {
    if (ownerLookup_) return ownerLookup_();
    return {QApplication::activeWindow(), QApplication::focusWidget()};
}

std::optional<FileChoice> QtDialogs::runFileDialog(const std::vector<FileFilter>& filters,
                                                   const std::string& title, bool save) {
    ensureApplication();
    // Qt's own dialog everywhere: a desktop's native one may add suffixes or ask before
    // replacing a file, and callers rely on neither happening.
    Owned<QFileDialog> dlg(owner(), nullptr, q(title), QDir::currentPath());
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QString());
    QStringList names;
    for (const FileFilter& f : filters) names << fileDialogFilter(f);
    if (!names.isEmpty()) dlg.setNameFilters(names);
    roomForColumns(dlg);
    if (runModal(dlg) != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    QFileInfo chosen(dlg.selectedFiles().first());
    QString folder = QDir::toNativeSeparators(chosen.absolutePath());
    if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
    return FileChoice{chosen.fileName().toStdString(), folder.toStdString()};
}

std::optional<FileChoice> QtDialogs::getFile(const std::vector<FileFilter>& filters,
                                             const std::string& title) {
    return runFileDialog(filters, title, false);
}

std::optional<FileChoice> QtDialogs::putFile(const std::vector<FileFilter>& filters,
                                             const std::string& title) {
    return runFileDialog(filters, title, true);
}

std::string QtDialogs::question(const std::string& text, const std::string& title,
                                const std::vector<std::string>& buttons,
                                const std::string& defaultButton) {
    ensureApplication();
    // A plain dialog rather than a message box: closing it must be possible and answer "".
    Owned<QDialog> dlg(owner());
    dlg.setWindowTitle(q(title));
    dlg.setObjectName(QStringLiteral("questdlg"));
    auto* layout = new QVBoxLayout(&dlg);
    auto* label = new QLabel(q(text), &dlg);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    auto* box = new QDialogButtonBox(&dlg);
    layout->addWidget(box);
    std::string answer;
    for (const std::string& b : buttons) {
        QPushButton* button = box->addButton(q(b), QDialogButtonBox::ActionRole);
        button->setAutoDefault(false);
        if (b == defaultButton) {
            button->setDefault(true);
            button->setFocus();
        }
        QObject::connect(button, &QPushButton::clicked, &dlg, [&dlg, &answer, b] {
            answer = b;
            dlg.accept();
        });
    }
    if (runModal(dlg) != QDialog::Accepted) return {};
    return answer;
}

std::optional<Rgb> QtDialogs::color(const Rgb& initial) {
    ensureApplication();
    QColor start = QColor::fromRgbF(static_cast<float>(initial[0]), static_cast<float>(initial[1]),
                                    static_cast<float>(initial[2]));
    Owned<QColorDialog> dlg(owner(), start);
    dlg.setOption(QColorDialog::DontUseNativeDialog);
    if (runModal(dlg) != QDialog::Accepted) return std::nullopt;
    QColor c = dlg.selectedColor();
    if (!c.isValid()) return std::nullopt;
    // Whole 8-bit steps, so a colour chosen again reads back exactly.
    return Rgb{c.red() / 255.0, c.green() / 255.0, c.blue() / 255.0};
}

void QtDialogs::error(const std::string& text, const std::string& title) {
    message(QMessageBox::Critical, kErrorName, text, title);
}

void QtDialogs::warning(const std::string& text, const std::string& title) {
    message(QMessageBox::Warning, kWarningName, text, title);
}

// Error and warning boxes alike: over their window, without blocking it.
void QtDialogs::message(QMessageBox::Icon icon, const QString& name, const std::string& text,
                        const std::string& title) {
    ensureApplication();
    auto* box = new Owned<QMessageBox>(owner(), icon, q(title), q(text), QMessageBox::Ok);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setTextFormat(Qt::PlainText);
    QObject::connect(box, &QDialog::finished, box,
                     [focus = box->owner().focus] { giveFocusBack(focus); });
    box->show();
}

}  // namespace rt
