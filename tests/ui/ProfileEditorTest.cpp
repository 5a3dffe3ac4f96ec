#include "model/ProfileStore.h"
#include "ui/Avatar.h"
#include "ui/ProfileEditor.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace varrow::ui {
namespace {

struct Saved {
    QString name, note;
    model::ProfileColor color;
};

class ProfileEditorTest : public ::testing::Test {
protected:
    ProfileEditor::SaveCallback recorder() {
        return [this](const QString& name, const QString& note, model::ProfileColor color) {
            saves.append({name, note, color});
        };
    }
    QList<Saved> saves;
};

TEST_F(ProfileEditorTest, newAccountStartsBlankWithAColourOtherThanClay) {
    for (int i = 0; i < 40; ++i) {
        ProfileEditor editor(std::nullopt, recorder());
        EXPECT_NE(editor.color(), model::ProfileColor::Clay);
        EXPECT_EQ(editor.nameField()->text(), "");
    }
    ProfileEditor editor(std::nullopt, recorder());
    EXPECT_EQ(editor.titleLabel()->text(), "New Claude account");
    EXPECT_EQ(editor.saveButton()->text(), "Create and Open");
    EXPECT_EQ(editor.nameField()->placeholderText(), "e.g. Work, Personal, Acme Co.");
    EXPECT_EQ(editor.noteField()->placeholderText(), "So you remember which sign-in goes here");
    EXPECT_EQ(editor.swatches().size(), 8);
    // The user may still pick clay.
    QTest::mouseClick(editor.swatches()[0], Qt::LeftButton);
    EXPECT_EQ(editor.color(), model::ProfileColor::Clay);
    EXPECT_TRUE(editor.swatches()[0]->isSelected());
    EXPECT_EQ(editor.swatches()[0]->toolTip(), "Clay");
}

TEST_F(ProfileEditorTest, aBlankNameCannotBeSavedAndThePreviewShowsAQuestionMark) {
    ProfileEditor editor(std::nullopt, recorder());
    editor.show();
    EXPECT_FALSE(editor.saveButton()->isEnabled());
    QTest::keyClicks(editor.nameField(), "   ");
    EXPECT_FALSE(editor.saveButton()->isEnabled());
    EXPECT_EQ(editor.preview()->initials(), "?");
    QTest::keyClick(editor.nameField(), Qt::Key_Return);
    EXPECT_TRUE(saves.isEmpty());
    EXPECT_TRUE(editor.isVisible());

    QTest::keyClicks(editor.nameField(), "anne-marie smith");
    EXPECT_TRUE(editor.saveButton()->isEnabled());
    EXPECT_EQ(editor.preview()->initials(), "AS");
}

TEST_F(ProfileEditorTest, returnSavesTrimmedValuesOnceAndCloses) {
    ProfileEditor editor(std::nullopt, recorder());
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    // Typing goes straight into the name field.
    EXPECT_TRUE(editor.nameField()->hasFocus());
    QTest::keyClicks(editor.nameField(), "  Work  ");
    editor.noteField()->setText(" \t ann@acme.example  ");
    QTest::keyClick(editor.nameField(), Qt::Key_Return);
    ASSERT_EQ(saves.size(), 1);
    EXPECT_EQ(saves[0].name, "Work");
    EXPECT_EQ(saves[0].note, "ann@acme.example");
    EXPECT_EQ(saves[0].color, editor.color());
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    // A second press (say a double click) stores nothing more.
    editor.saveButton()->click();
    EXPECT_EQ(saves.size(), 1);
}

TEST_F(ProfileEditorTest, escapeCancelsWithoutSaving) {
    ProfileEditor editor(std::nullopt, recorder());
    editor.show();
    QTest::keyClicks(editor.nameField(), "Work");
    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_TRUE(saves.isEmpty());
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.result(), QDialog::Rejected);
}

TEST_F(ProfileEditorTest, editingTheDefaultAccountOffersEveryColourAndSavesOnlyTheThreeFields) {
    model::Profile original = model::ProfileStore::makeDefault();
    original.note = "me@home.example";
    ProfileEditor editor(original, recorder());
    EXPECT_EQ(editor.titleLabel()->text(), "Edit account");
    EXPECT_EQ(editor.saveButton()->text(), "Save");
    EXPECT_EQ(editor.nameField()->text(), original.name);
    EXPECT_EQ(editor.noteField()->text(), "me@home.example");
    EXPECT_EQ(editor.color(), original.color);
    EXPECT_EQ(editor.swatches().size(), 8);
    // No sign-in hint when editing.
    for (QLabel* label : editor.findChildren<QLabel*>())
        EXPECT_FALSE(label->text().startsWith("Claude will open"));

    // The sheet is 400 wide, new or not, as tall as its content.
    editor.show();
    ProfileEditor fresh(std::nullopt, recorder());
    fresh.show();
    EXPECT_EQ(editor.width(), 400);
    EXPECT_EQ(fresh.width(), 400);
    EXPECT_GT(fresh.height(), editor.height());  // the sign-in hint

    QTest::mouseClick(editor.swatches()[6], Qt::LeftButton);
    EXPECT_EQ(editor.preview()->color(), model::ProfileColor::Iris);
    editor.saveButton()->click();
    ASSERT_EQ(saves.size(), 1);
    EXPECT_EQ(saves[0].color, model::ProfileColor::Iris);
}

}  // namespace
}  // namespace varrow::ui
