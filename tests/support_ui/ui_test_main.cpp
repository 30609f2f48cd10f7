#include "platform/ui/application.h"

#include <gtest/gtest.h>

// Window tests share one application object, made before the first test and destroyed
// after the last, while Qt is still whole.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
        qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    pimoko::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
