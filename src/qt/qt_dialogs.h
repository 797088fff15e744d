// The five dialogs drawn with Qt Widgets.
#pragma once

#include <QString>

#include "runtime/host.h"

namespace rt {

// Qt reads the last parenthesised group of a filter as its patterns, and descriptions may
// hold parentheses of their own, so each row becomes description + " (" + patterns + ")",
// with ";" between patterns turned into blanks.
QString fileDialogFilter(const FileFilter& filter);

class QtDialogs : public Dialogs {
public:
    std::optional<FileChoice> getFile(const std::vector<FileFilter>& filters,
                                      const std::string& title) override;
    std::optional<FileChoice> putFile(const std::vector<FileFilter>& filters,
                                      const std::string& title) override;
    std::string question(const std::string& text, const std::string& title,
                         const std::vector<std::string>& buttons,
                         const std::string& defaultButton) override;
    std::optional<Rgb> color(const Rgb& initial) override;
    void error(const std::string& text, const std::string& title) override;
};

}  // namespace rt
