#include "qt/qt_ports.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <optional>

namespace velmo {
namespace {

// Quit, asked while a question is open (SIGTERM during a message box), ends
// the box as by its escape button, which never answers Yes, and leaves the
// main loop too.
TEST(QtEventLoopTest, QuitEndsAnOpenBoxAndTheMainLoop) {
    QtEventLoop loop;
    QtMessageBox messages;
    std::optional<Answer> answer;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] { loop.Quit(); });
        answer =
            messages.Show(U"Replace the file?", message::WarningYesNoCancelDefaultCancel, Text());
    });
    // Only a Quit that failed to end the loop gets here.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(10000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(answer, Answer::Cancel);
}

}  // namespace
}  // namespace velmo
