#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>

#include "tests/controls/lists/list_view_fixture.h"

namespace lists {
namespace {

using testing::MakeListView;

// Column 0 a time column with a text editor, column 1 a text editor, column 2 a drop-down list.
std::unique_ptr<UC_ListView> EditorList() {
  return MakeListView(4, {1200, 1200, 1500}, [](UC_ListView& l) {
    l.SetUseTextCombo(0, kEditorText);
    l.SetTextIsTime(0, 1);
    l.SetUseTextCombo(1, kEditorText);
    l.SetUseTextCombo(2, kEditorList);
  });
}

TEST(UcListViewEditorsGuiTest, EditorsSitOnTheCurrentRow) {
  auto lv = EditorList();
  ASSERT_NE(lv->TextLV(1), nullptr);
  EXPECT_EQ(lv->TextLV(2), nullptr);
  for (const char* entry : {"コマンド", "START", "STOP"}) lv->AddListItem(2, entry);
  lv->SetValue(2, 2, "STOP");
  EXPECT_EQ(lv->TextComboVisible(), 0);
  lv->SetSelectedItem(2);
  lv->ReDraw();
  EXPECT_EQ(lv->TextComboVisible(), 1);
  QLineEdit* time = lv->TextLV(0);
  EXPECT_EQ(time->text(), "2-0");
  EXPECT_EQ(lv->ListLV(0)->currentText(), "STOP");
  // Across: text editors 3 pixels into their column, lists 2; down: EditorTop in the row.
  EXPECT_EQ(lv->TextLV(1)->x(), 1200 / 15 + 3);
  EXPECT_EQ(lv->ListLV(0)->x(), 2400 / 15 + 2);
  EXPECT_EQ(time->y(), (2 * lv->OneHeight() + lv->EditorTop()) / 15);
  // A list editor makes the row its height plus 2 pixels, and the box one pixel taller.
  EXPECT_EQ(lv->OneHeight(), (lv->ListLV(0)->height() + 2) * 15);
  EXPECT_EQ(lv->RowBoxHeight(), lv->OneHeight() + 15);
  // Scrolled out of view or with no current row, every editor goes.
  lv->UnSelectAll();
  lv->ReDraw();
  EXPECT_EQ(lv->TextComboVisible(), 0);
  // InitTab again makes no second set of editors.
  const auto editors = lv->findChildren<QLineEdit*>().size();
  lv->InitTab();
  EXPECT_EQ(lv->findChildren<QLineEdit*>().size(), editors);
  EXPECT_EQ(lv->Model().Columns().Column(1)->TextIndex, 1);
}

TEST(UcListViewEditorsGuiTest, AHiddenColumnsEditorGoesAtTheNextRedraw) {
  auto lv = EditorList();
  lv->SetSelectedItem(2);
  lv->ReDraw();
  QLineEdit* editor = lv->TextLV(1);
  ASSERT_TRUE(editor->isVisible());
  lv->SetTabHidden(1, 1);
  lv->ReDraw();
  EXPECT_TRUE(editor->isHidden());
  EXPECT_TRUE(lv->TextLV(0)->isVisible());
  lv->SetTabHidden(1, 0);
  lv->SetValue(2, 1, "back");
  lv->ReDraw();
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->text(), "back");
}

TEST(UcListViewEditorsGuiTest, TypingSixDigitsInATimeColumn) {
  auto lv = EditorList();
  lv->SetSelectedItem(1);
  lv->ReDraw();
  QLineEdit* time = lv->TextLV(0);
  time->selectAll();
  QTest::keyClicks(time, "123456");
  EXPECT_EQ(time->text(), "12:34:56");
  EXPECT_EQ(lv->Value(1, 0).Text(), "12:34:56");
  // Every keystroke is stored; digits that are no time stay as typed.
  time->selectAll();
  QTest::keyClicks(time, "310000");
  EXPECT_EQ(lv->Value(1, 0).Text(), "310000");
  time->selectAll();
  QTest::keyClicks(time, "1260");
  EXPECT_EQ(lv->Value(1, 0).Text(), "1260");
  // The other text column stores what is typed and is no time column.
  QLineEdit* plain = lv->TextLV(1);
  plain->selectAll();
  QTest::keyClicks(plain, "123456");
  EXPECT_EQ(lv->Value(1, 1).Text(), "123456");
  // A text the list itself puts into an editor is not written back into the cell.
  lv->SetValue(1, 1, 42);
  lv->ReDraw();
  EXPECT_EQ(plain->text(), "42");
  EXPECT_TRUE(lv->Value(1, 1).IsNumber());
}

TEST(UcListViewEditorsGuiTest, TheHostSeesAndCancelsKeys) {
  auto lv = EditorList();
  lv->SetSelectedItem(0);
  lv->ReDraw();
  std::vector<std::string> seen;
  QObject::connect(lv.get(), &UC_ListView::TextComboKeyAction,
                   [&](int32_t isCombo, int32_t tab, int32_t action, int16_t* key, int16_t* shift) {
                     seen.push_back(std::to_string(isCombo) + "," + std::to_string(tab) + "," +
                                    std::to_string(action) + "," + std::to_string(*key) + "," +
                                    std::to_string(*shift));
                     if (action == 2 && *key == '5') *key = 0;    // no 5s in this column
                     if (action == 2 && *key == 'a') *key = 'b';  // and a becomes b
                     if (action == 1 && *key == 46) *key = 0;     // Delete is refused
                   });
  QLineEdit* editor = lv->TextLV(1);
  editor->clear();
  QTest::keyClick(editor, Qt::Key_A, Qt::ShiftModifier);
  // Shift down, A down, the character typed, A up, Shift up (key codes 16 and 65).
  EXPECT_EQ(seen, (std::vector<std::string>{"0,1,1,16,1", "0,1,1,65,1", "0,1,2,97,0", "0,1,0,65,1",
                                            "0,1,0,16,0"}));
  EXPECT_EQ(editor->text(), "b");
  editor->clear();
  QTest::keyClicks(editor, "a5a6");
  EXPECT_EQ(editor->text(), "bb6");
  EXPECT_EQ(lv->Value(0, 1).Text(), "bb6");
  editor->setCursorPosition(0);
  QTest::keyClick(editor, Qt::Key_Delete);
  EXPECT_EQ(editor->text(), "bb6");
  QTest::keyClick(editor, Qt::Key_Right);
  QTest::keyClick(editor, Qt::Key_Backspace);
  EXPECT_EQ(editor->text(), "b6");
}

TEST(UcListViewEditorsGuiTest, ComboChagedOnlyForTheUsersChoice) {
  auto lv = EditorList();
  for (const char* entry : {"コマンド", "START", "STOP", "FO"}) lv->AddListItem(2, entry);
  QSignalSpy changed(lv.get(), &UC_ListView::ComboChaged);
  lv->SetValue(3, 2, "START");
  lv->SetSelectedItem(3);
  lv->ReDraw();  // selects "START" in the editor by code: no event
  QComboBox* list = lv->ListLV(0);
  EXPECT_EQ(list->currentIndex(), 1);
  EXPECT_EQ(changed.count(), 0);
  QTest::keyClick(list, Qt::Key_Down);  // the user steps to the next entry
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(lv->Value(3, 2).Text(), "STOP");
  list->setCurrentIndex(3);  // by code: nothing
  EXPECT_EQ(changed.count(), 1);
  emit list->activated(3);  // what the platform raises for a choice from the open list
  ASSERT_EQ(changed.count(), 2);
  EXPECT_EQ(changed.last().at(0).toInt(), 2);
  EXPECT_EQ(changed.last().at(1).toInt(), 3);
  EXPECT_EQ(lv->Value(3, 2).Text(), "FO");
  // Without a current row nothing is stored and nothing raised.
  lv->UnSelectAll();
  emit list->activated(0);
  EXPECT_EQ(changed.count(), 2);
}

TEST(UcListViewEditorsGuiTest, ComboIndexAndEntries) {
  auto lv =
      MakeListView(2, {1500, 1500}, [](UC_ListView& l) { l.SetUseTextCombo(1, kEditorCombo); });
  lv->AddComboItem(1, "Alpha");
  lv->AddComboItem(1, "Beta");
  lv->SetValue(0, 1, "Beta");
  lv->SetValue(1, 1, "beta");
  EXPECT_EQ(lv->ComboIndex(0, 1), 1);
  EXPECT_EQ(lv->ComboIndex(1, 1), -1);  // case counts
  EXPECT_EQ(lv->ComboIndex(-2, 1), -1);
  EXPECT_EQ(lv->ComboIndex(5, 1), -1);
  EXPECT_EQ(lv->ComboIndex(0, 0), -1);  // no combo in column 0
  lv->ClearComboItem(1);
  EXPECT_EQ(lv->ComboIndex(0, 1), -1);
  // A combo editor makes the rows its height plus 2 pixels.
  EXPECT_EQ(lv->OneHeight(), (lv->ComboLV(0)->height() + 2) * 15);
}

}  // namespace
}  // namespace lists
