#pragma once
// What every GUI test needs: a recording message box, a reporter, a texture
// manager for the controls, and the buttons' sound player put back afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/design_fit.h"
#include "app/error_reporter.h"
#include "assets/texture_manager.h"
#include "gui/gui_button.h"
#include "support/message_box_recorder.h"

// A fit that only moves the design by (x, y) window pixels.
inline DesignFit shiftedFit(float x, float y) {
    DesignFit fit;
    fit.offsetX = x;
    fit.offsetY = y;
    return fit;
}

class GUITestBase : public ::testing::Test {
protected:
    ~GUITestBase() override { GUIButton::setSoundPlayer(nullptr); }

    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.boxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }
    // The one message shown since the last clear; the reporter is back to
    // "No Error." afterwards, as every failure path leaves it.
    void expectOneMessage(const std::string& text) {
        ASSERT_EQ(messages(), std::vector<std::string>{text});
        EXPECT_EQ(boxes.boxes().front().caption, ErrorReporter::captionFor(ERROR_GENERAL));
        EXPECT_EQ(reporter.getMessage(), RESET_NO_ERROR);
        EXPECT_EQ(reporter.getErrorKind(), ERROR_NONE);
        boxes.clear();
    }

    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
    TextureManager textures;
};
