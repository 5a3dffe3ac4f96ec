#pragma once

#include "model/Profile.h"

#include <QAbstractButton>
#include <QList>
#include <QWidget>
#include <optional>

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::switcher {

// One account button of the floating bar: its avatar, dimmed while not running, with a green
// dot while it runs.
class FloatingAvatarButton : public QAbstractButton {
    Q_OBJECT
public:
    FloatingAvatarButton(const model::Profile& profile, bool running, QWidget* parent = nullptr);
    const model::Profile& profile() const { return profile_; }
    bool isRunning() const { return running_; }
    QSize sizeHint() const override { return QSize(22, 22); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    model::Profile profile_;
    bool running_;
};

// The capsule bar that floats over Claude: the current account (avatar and name) then a button
// per other account. Its background drags the panel.
class FloatingBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxNameWidth = 180;

    FloatingBar(model::ProfileStore* store, claude::ClaudeController* claude, QWidget* parent = nullptr);

    std::optional<model::Profile> currentProfile() const { return current_; }
    QList<FloatingAvatarButton*> buttons() const { return buttons_; }
    QString displayedName() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

public slots:
    void refresh();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int nameWidth() const;

    model::ProfileStore* store_;
    claude::ClaudeController* claude_;
    std::optional<model::Profile> current_;
    QList<FloatingAvatarButton*> buttons_;
};

}  // namespace varrow::switcher
