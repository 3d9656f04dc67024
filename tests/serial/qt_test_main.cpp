#include <QCoreApplication>
#include <gtest/gtest.h>

// The serial binding needs an application object for its event loop.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
