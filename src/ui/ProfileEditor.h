#pragma once

#include "model/Profile.h"

#include <QAbstractButton>
#include <QDialog>
#include <QVariantAnimation>
#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QLabel;
class QPushButton;

namespace varrow::ui {

class Avatar;

// One colour choice of the editor: a 24-point disc, ringed when selected.
class ColorSwatch : public QAbstractButton {
    Q_OBJECT
public:
    ColorSwatch(model::ProfileColor color, QWidget* parent = nullptr);
    model::ProfileColor color() const { return color_; }
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }
    QSize sizeHint() const override { return QSize(32, 32); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    model::ProfileColor color_;
    bool selected_ = false;
};

// The sheet in which an account is named, noted and coloured. It never touches the store: the
// cleaned-up values go to onSave, once, and the sheet closes.
class ProfileEditor : public QDialog {
    Q_OBJECT
public:
    using SaveCallback =
        std::function<void(const QString& name, const QString& note, model::ProfileColor color)>;
    static constexpr int kWidth = 400;

    ProfileEditor(std::optional<model::Profile> original, SaveCallback onSave, QWidget* parent = nullptr);

    bool isNew() const { return !original_.has_value(); }
    model::ProfileColor color() const { return color_; }
    void setColor(model::ProfileColor color);

    QLineEdit* nameField() const { return name_; }
    QLineEdit* noteField() const { return note_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }
    QList<ColorSwatch*> swatches() const { return swatches_; }
    Avatar* preview() const { return preview_; }
    QLabel* titleLabel() const { return title_; }

    // When adding: offers to start the account with My Claude's settings file, ticked or not.
    void offerMyClaudeConfig(bool checked);
    QCheckBox* configBox() const { return config_; }
    bool startsWithMyClaudeConfig() const;

    // A colour for a new account: any but clay, which the default account wears.
    static model::ProfileColor randomColor();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent*) override;

private:
    void updateState();
    void save();

    std::optional<model::Profile> original_;
    SaveCallback onSave_;
    model::ProfileColor color_;
    bool saved_ = false;

    Avatar* preview_;
    QLabel* title_;
    QLineEdit* name_;
    QLineEdit* note_;
    QList<ColorSwatch*> swatches_;
    QCheckBox* config_ = nullptr;
    QPushButton* cancel_;
    QPushButton* save_;
    QVariantAnimation colorAnimation_;
};

}  // namespace varrow::ui
