#pragma once

#include "app/Application.h"

#include <QTest>

// Tests run headless: the platform is chosen before the application exists.
#define ORBA_TEST_MAIN(TestClass)                                                                  \
    int main(int argc, char** argv) {                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        orba::Application app(argc, argv);                                                         \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
