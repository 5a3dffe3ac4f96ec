#pragma once

#include "copies/DesktopConfig.h"

#include <QCoreApplication>
#include <functional>

class QMessageBox;
class QWidget;

namespace varrow::ui {

// "Copy MCP Servers from My Claude…": works out what would change in the account's settings
// file, shows it, and writes only once the user agrees.
class McpCopyPrompt {
    Q_DECLARE_TR_FUNCTIONS(McpCopyPrompt)

public:
    using Report = std::function<void(const QString& sentence)>;

    // The question as a window-modal box on parent (deleted on close), or none when there is
    // nothing to ask: then the reason went to report.
    static QMessageBox* open(QWidget* parent, const QString& accountsDir, const model::Profile& profile,
                             const QString& source, Report report);
    // "Adds: a, b" and "Replaces (same name): c", one line each.
    static QString summary(const copies::DesktopConfig::McpPlan& plan);
};

}  // namespace varrow::ui
