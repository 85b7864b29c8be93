#include "ui/qt/message_box.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <QApplication>
#include <QProxyStyle>
#include <QPushButton>
#include <QTimer>

#include "tests/qt/off_screen_application.h"

namespace pelmo::ui::qt {
namespace {

// Off screen, Qt's theme draws buttons without their icons; the desktops'
// themes draw them, and the icons are what a box used to leave behind.
class ButtonsWithIcons : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

class MessageBoxOffScreen : public OffScreenApplication {};

// The box is drawn, as the desktop draws it when it comes up, and answered by
// its button, or closed as the window manager's close button does.
void ShowAndAnswer(MessageBox& messages, bool by_button = true) {
  QTimer::singleShot(0, [by_button] {
    auto* box = static_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->grab();
    if (by_button)
      box->button(QMessageBox::Ok)->click();
    else
      box->close();
  });
  messages.Show(QStringLiteral("飼い主の方へ"), QStringLiteral("もうご飯は出ています"));
}

// The program answers its user with boxes all day; each one must leave the
// heap as it found it once answered.
TEST_F(MessageBoxOffScreen, BoxesShownOverAndOverLeaveTheHeapWhereItWas) {
  QApplication::setStyle(new ButtonsWithIcons);  // the application takes it
  MessageBox messages;
  for (int i = 0; i < 20; ++i) ShowAndAnswer(messages);  // fonts and the style load
  const std::size_t before = mallinfo2().uordblks;
  for (int i = 0; i < 300; ++i) ShowAndAnswer(messages, i % 2 == 0);
  // Some 2 KB a box, were each box's drawing kept: over 600 KB here; about a
  // hundred bytes a box, were its native window made anew each time.
  const std::size_t after = mallinfo2().uordblks;
  EXPECT_LT(after, before + 8 * 1024) << "the heap grew by " << after - before << " bytes";
}

// A message that comes while the box is up is shown too, once the first is
// answered or on top of it, not lost.
TEST_F(MessageBoxOffScreen, AMessageWhileTheBoxIsUpIsShownToo) {
  MessageBox messages;
  QStringList seen;
  QTimer::singleShot(0, [&] {
    seen << static_cast<QMessageBox*>(QApplication::activeModalWidget())->text();
    QTimer::singleShot(0, [&] {
      auto* box = static_cast<QMessageBox*>(QApplication::activeModalWidget());
      seen << box->text();
      box->close();
    });
    messages.Show(QStringLiteral("飼い主の方へ"), QStringLiteral("second"));
    QApplication::activeModalWidget()->close();
  });
  messages.Show(QStringLiteral("飼い主の方へ"), QStringLiteral("first"));
  EXPECT_EQ(seen, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
}

}  // namespace
}  // namespace pelmo::ui::qt
