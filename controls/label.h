#pragma once
// Labels: static text that can wrap its words, align its text and size itself to its text.

#include "controls/control.h"

#include <string_view>

namespace ctl {

class Label : public Control {
public:
    bool wordWrap() const noexcept { return wordWrap_; }
    // Lets the text wrap at the label's width (for good: labels do not go back).
    void setWordWrap();

    bool autoSize() const noexcept { return autoSize_; }
    // While on, every text or font change fits the label to its text.
    void setAutoSize(bool on);
    // Auto-size never makes the label smaller than this.
    void setMinimumSize(int width, int height);
    // Fits the width (unless the label is aligned to span it) and the height (unless aligned
    // to fill it) to the text, then lays out the parent again if anything changed.
    void fitToText();

private:
    friend Label* newLabel(Control& parent, std::wstring_view caption);

    bool wordWrap_ = false;
    bool autoSize_ = false;
    int minWidth_ = 0;
    int minHeight_ = 0;
    // Space added around the measured text.
    int horizontalMargin_ = 1;
    int verticalMargin_ = 1;
};

const ActionTable& labelActions() noexcept;
Label* newLabel(Control& parent, std::wstring_view caption);

} // namespace ctl
