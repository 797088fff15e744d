#include "qt/qt_dialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/application.h"

namespace rt {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

std::optional<FileChoice> runFileDialog(const std::vector<FileFilter>& filters,
                                        const std::string& title, bool save) {
    ensureApplication();
    // Qt's own dialog everywhere: a desktop's native one may add suffixes or ask before
    // replacing a file, and callers rely on neither happening.
    QFileDialog dlg(nullptr, q(title), QDir::currentPath());
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QString());
    QStringList names;
    for (const FileFilter& f : filters) names << fileDialogFilter(f);
    if (!names.isEmpty()) dlg.setNameFilters(names);
    dlg.setWindowModality(Qt::ApplicationModal);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    QFileInfo chosen(dlg.selectedFiles().first());
    QString folder = QDir::toNativeSeparators(chosen.absolutePath());
    if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
    return FileChoice{chosen.fileName().toStdString(), folder.toStdString()};
}

// Cascades error dialogs so that a second one does not hide the first.
QPoint nextErrorOffset() {
    static int n = 0;
    n = (n + 1) % 8;
    return QPoint(30 * n, 30 * n);
}

}  // namespace

QString fileDialogFilter(const FileFilter& filter) {
    QStringList patterns = q(filter.pattern).split(u';', Qt::SkipEmptyParts);
    for (QString& p : patterns) p = p.trimmed();
    patterns.removeAll(QString());
    QString description = q(filter.description).trimmed();
    if (description.isEmpty()) description = patterns.join(u' ');
    return description + QStringLiteral(" (") + patterns.join(u' ') + u')';
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
    QDialog dlg;
    dlg.setWindowTitle(q(title));
    dlg.setWindowModality(Qt::ApplicationModal);
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
    if (dlg.exec() != QDialog::Accepted) return {};
    return answer;
}

std::optional<Rgb> QtDialogs::color(const Rgb& initial) {
    ensureApplication();
    QColor start = QColor::fromRgbF(static_cast<float>(initial[0]), static_cast<float>(initial[1]),
                                    static_cast<float>(initial[2]));
    QColorDialog dlg(start);
    dlg.setOption(QColorDialog::DontUseNativeDialog);
    dlg.setWindowModality(Qt::ApplicationModal);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    QColor c = dlg.selectedColor();
    if (!c.isValid()) return std::nullopt;
    // Whole 8-bit steps, so a colour chosen again reads back exactly.
    return Rgb{c.red() / 255.0, c.green() / 255.0, c.blue() / 255.0};
}

void QtDialogs::error(const std::string& text, const std::string& title) {
    ensureApplication();
    auto* box = new QMessageBox(QMessageBox::Critical, q(title), q(text), QMessageBox::Ok);
    box->setObjectName(QStringLiteral("errordlg"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setTextFormat(Qt::PlainText);
    box->move(box->pos() + nextErrorOffset());
    box->show();
}

}  // namespace rt
