#include <gtest/gtest.h>

#include <QCoreApplication>

// QProcess wants an application object for its child's notifications.
int main(int argc, char* argv[])
{
    const QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
