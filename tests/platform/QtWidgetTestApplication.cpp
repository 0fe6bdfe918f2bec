// The application object the widget tests need (widgets, painting, synthetic input), alive for the
// whole test run. The tests run on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

class QtWidgetApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "widget_tests";
        static char* argv[] = {name, nullptr};
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
        application_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { application_.reset(); }

private:
    std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] const ::testing::Environment* const kQtWidgetApplication =
    ::testing::AddGlobalTestEnvironment(new QtWidgetApplicationEnvironment);

}  // namespace
