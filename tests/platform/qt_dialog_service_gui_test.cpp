#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "platform/view/qt_dialog_service.h"

namespace platform {
namespace {

std::vector<int32_t> AnswersOf(const QMessageBox& box) {
  std::vector<int32_t> answers;
  for (const QAbstractButton* button : box.buttons()) answers.push_back(AnswerOfButton(button));
  return answers;
}

TEST(QtMessageBox, ButtonsIconAndDefaultsFollowTheStyle) {
  struct Case {
    uint32_t style;
    std::vector<int32_t> answers;
    QMessageBox::Icon icon;
    int32_t defaultAnswer;
    int32_t escapeAnswer;  // 0: left to the toolkit
  };
  const Case cases[] = {
      {kMbYesNo | kMbIconQuestion, {kIdYes, kIdNo}, QMessageBox::Question, kIdYes, 0},
      {kMbOk | kMbIconStop, {kIdOk}, QMessageBox::Critical, kIdOk, kIdOk},
      {kMbYesNoCancel | kMbIconExclamation | kMbDefButton2,
       {kIdYes, kIdNo, kIdCancel},
       QMessageBox::Warning,
       kIdNo,
       kIdCancel},
      {kMbOkCancel | kMbIconInformation,
       {kIdOk, kIdCancel},
       QMessageBox::Information,
       kIdOk,
       kIdCancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    MessageBoxRequest request;
    request.prompt = "終了しますか？";
    request.style = c.style;
    const std::unique_ptr<QMessageBox> box = BuildMessageBox(request);
    std::vector<int32_t> answers = AnswersOf(*box);
    std::sort(answers.begin(), answers.end());
    std::vector<int32_t> expected = c.answers;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(answers, expected);
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->text(), QStringLiteral("終了しますか？"));
    EXPECT_EQ(AnswerOfButton(box->defaultButton()), c.defaultAnswer);
    if (c.escapeAnswer != 0) {
      EXPECT_EQ(AnswerOfButton(box->escapeButton()), c.escapeAnswer);
    }
  }
  EXPECT_EQ(AnswerOfButton(nullptr), 0);
  QPushButton stranger;
  EXPECT_EQ(AnswerOfButton(&stranger), 0);
}

TEST(QtMessageBox, ShownBoxSitsOnItsCentreInsideTheDesktop) {
  MessageBoxRequest request;
  request.prompt = "TarnwickHIDを初期化できませんでした";
  request.style = kMbOk | kMbIconStop;

  request.centre = BoxCentre{400, 300, 1024, 768};
  std::unique_ptr<QMessageBox> box = BuildMessageBox(request);
  box->show();
  QApplication::processEvents();
  const QSize size = box->frameGeometry().size();
  ASSERT_GT(size.width(), 0);
  EXPECT_EQ(box->frameGeometry().topLeft(),
            QPoint(400 - size.width() / 2, 300 - size.height() / 2));
  box->hide();

  // Near the bottom-right corner: pushed back inside.
  request.centre = BoxCentre{1020, 760, 1024, 768};
  box = BuildMessageBox(request);
  box->show();
  QApplication::processEvents();
  const QRect frame = box->frameGeometry();
  EXPECT_EQ(frame.x() + frame.width(), 1024);
  EXPECT_EQ(frame.y() + frame.height(), 768);
  box->hide();
}

TEST(QtFileDialog, FilterEntriesNameTheirPatterns) {
  EXPECT_EQ(NameFilterOf({"Wave", "*.wav"}), QStringLiteral("Wave (*.wav)"));
  EXPECT_EQ(NameFilterOf({"音声", "*.wav; *.mp3;"}), QStringLiteral("音声 (*.wav *.mp3)"));
}

}  // namespace
}  // namespace platform
