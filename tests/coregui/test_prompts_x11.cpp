// The Qt boxes behind the prompts on a real X server without a window manager: when a
// box closes, the keyboard goes back to the window that opened it.
#include "core/userprompts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A key as the X server delivers it: to the window that has its focus.
void pressKey(const char *key)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QLatin1String(key)}), 0);
}

TEST(PromptsX11, TheKeyboardGoesBackToTheWindowThatOpenedTheBox)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QWidget window;
    auto *edit = new QLineEdit(&window);
    window.setGeometry(100, 100, 300, 80);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == window.windowHandle(); }, 3000));

    for (QWidget *parent : {static_cast<QWidget *>(&window), static_cast<QWidget *>(nullptr)}) {
        SCOPED_TRACE(parent ? "with the window as parent" : "without a parent");
        bool shown = false;
        // The user closes the box with Escape, through the X server.
        QTimer::singleShot(0, qApp, [&] {
            shown = QTest::qWaitFor([] { return QApplication::activeModalWidget() && QGuiApplication::focusWindow()
                                                == QApplication::activeModalWidget()->windowHandle(); },
                                    3000);
            pressKey("Escape");
        });
        EXPECT_EQ(prompts::MsgBox(QStringLiteral("Closed with Escape"), prompts::Buttons::OkCancel, prompts::Icon::None,
                                  QString(), parent),
                  prompts::Answer::Cancel);
        EXPECT_TRUE(shown) << "the box never had the keyboard";
        EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == window.windowHandle(); }, 3000))
            << "the keyboard went elsewhere";
        // Typed keys reach the box the window had focused.
        edit->clear();
        pressKey("x");
        EXPECT_TRUE(QTest::qWaitFor([&] { return edit->text() == QStringLiteral("x"); }, 3000));
    }
}

} // namespace
