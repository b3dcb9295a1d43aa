#pragma once
// One shown form shared by the tests of a suite. Without a window manager Wine takes seconds to
// hide a shown top-level window, while child controls come and go at once: each test adds its
// controls to the shared form and they are destroyed after it.

#include "support/gui.h"

#include <gtest/gtest.h>

namespace testing_gui {

class SharedFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        form_ = ctl::newForm(nullptr, L"Test");
        form_->setBounds({40, 40, 440, 340});
        ctl::showForm(*form_);
        pump();
    }
    static void TearDownTestSuite() {
        form_->release();
        form_ = nullptr;
        pump();
    }
    void TearDown() override {
        while (!form_->children().empty())
            form_->children().back()->release();
        pump();
    }
    static ctl::Form& form() { return *form_; }

private:
    static inline ctl::Form* form_ = nullptr;
};

} // namespace testing_gui
