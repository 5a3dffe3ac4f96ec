#include "ui/McpCopyPrompt.h"

#include "ui/DisplayText.h"

#include <QMessageBox>
#include <QPushButton>

namespace varrow::ui {

using copies::DesktopConfig;

QString McpCopyPrompt::summary(const DesktopConfig::McpPlan& plan) {
    QStringList lines;
    if (!plan.added.isEmpty()) lines.append(tr("Adds: %1").arg(plan.added.join(QStringLiteral(", "))));
    if (!plan.replaced.isEmpty())
        lines.append(tr("Replaces (same name): %1").arg(plan.replaced.join(QStringLiteral(", "))));
    return lines.join(u'\n');
}

QMessageBox* McpCopyPrompt::open(QWidget* parent, const QString& accountsDir, const model::Profile& profile,
                                 const QString& source, Report report) {
    const DesktopConfig::McpPlan plan = DesktopConfig::planMcpCopy(source, accountsDir, profile);
    const QString name = singleLine(profile.name);
    if (!plan.error.isEmpty()) {
        report(plan.error);
        return nullptr;
    }
    auto* box = new QMessageBox(parent);
    box->setWindowTitle(QStringLiteral("Varrow"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (!plan.changes()) {
        box->setIcon(QMessageBox::Information);
        box->setText(tr("“%1” already has My Claude's MCP servers.").arg(name));
        box->addButton(QMessageBox::Ok);
        box->open();
        return box;
    }
    box->setIcon(QMessageBox::Question);
    box->setText(tr("Copy MCP servers from My Claude to “%1”?").arg(name));
    QString details = summary(plan);
    if (plan.hadFile)
        details +=
            tr("\n\nThe current file is kept as %1%2.")
                .arg(QLatin1String(DesktopConfig::kFileName), QLatin1String(DesktopConfig::kBackupSuffix));
    details += tr("\nClaude reads it the next time “%1” opens.").arg(name);
    box->setInformativeText(details);
    QPushButton* copy = box->addButton(tr("Copy", "copy the MCP servers"), QMessageBox::AcceptRole);
    box->addButton(QMessageBox::Cancel);
    box->setDefaultButton(copy);
    QObject::connect(box, &QMessageBox::finished, box, [box, copy, accountsDir, profile, source, report] {
        if (box->clickedButton() != copy) return;
        // Worked out again: either file may have changed while the question was up.
        const QString error = DesktopConfig::apply(DesktopConfig::planMcpCopy(source, accountsDir, profile));
        if (!error.isEmpty()) report(error);
    });
    box->open();
    return box;
}

}  // namespace varrow::ui
