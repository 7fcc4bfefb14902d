// The front end's tests run on Qt's offscreen platform, so they need no display.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The suite's programs that the tests start must not open their result viewers.
    qputenv("POLMERA_NO_VIEWER", "1");
    QApplication app(argc, argv);
    // Windows that tests close must not end anything.
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
