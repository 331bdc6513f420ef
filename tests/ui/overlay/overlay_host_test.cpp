// The overlay host without a GPU: the built package's page drawn into a recording canvas.
#include "ui/overlay_ui.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "data/map_token.hpp"
#include "game/game.hpp"
#include "tests/ui/package_mount.hpp"
#include "ui/web/view.hpp"

namespace {

struct RecordingCanvas : nj::OverlayCanvas {
    float width = 1280.0f, height = 720.0f;
    int draws = 0, changes = 0, lastWidth = 0, lastHeight = 0, lastRowBytes = 0;
    std::vector<std::uint8_t> lastPixels;
    void viewportSize(float& w, float& h) const override {
        w = width;
        h = height;
    }
    void drawOverlayBitmap(const std::uint8_t* pixels, int w, int h, int rowBytes,
                           bool changed) override {
        ++draws;
        changes += changed ? 1 : 0;
        lastWidth = w;
        lastHeight = h;
        lastRowBytes = rowBytes;
        lastPixels.assign(pixels, pixels + static_cast<std::size_t>(rowBytes) * h);
    }
    // Alpha of the page pixel at page coordinates (1280 x 720 layout).
    int alphaAt(int x, int y) const {
        const int px = x * lastWidth / 1280, py = y * lastHeight / 720;
        return lastPixels[static_cast<std::size_t>(py) * lastRowBytes + px * 4 + 3];
    }
};

class OverlayHost : public nj::test::BuiltPackageTest {
  protected:
    RecordingCanvas canvas;
    int quits = 0;
    nj::SilentAudio audio;
    nj::Game game{&audio};
    // Made after the game and gone before it, as the shell keeps it.
    std::unique_ptr<nj::OverlayUI> overlay;

    void SetUp() override {
        game.setCampaignMaps({nj::encodeMapToken(R"({"name":"FIRST JOB"})", "a"),
                              nj::encodeMapToken(R"({"name":"SECOND JOB"})", "b")});
        overlay = std::make_unique<nj::OverlayUI>(&canvas, [this] { ++quits; });
        ASSERT_TRUE(overlay->initialize(1280, 720));
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) overlay->renderFrame(game);
    }
    void click(std::uint32_t x, std::uint32_t y) {
        overlay->forwardMouseMove(x, y);
        overlay->forwardMouseButton(true);
        overlay->forwardMouseButton(false);
        frames(1);
    }
};

TEST_F(OverlayHost, PageLoadsFromThePackageTakesClicksAndIsHandedOverEveryFrameUntilTornDown) {
    frames(3);
    ASSERT_TRUE(overlay->domReady());
    EXPECT_EQ(canvas.draws, 3);
    // Unchanged frames are marked so, and the renderer need not copy them again.
    frames(2);
    const int changes = canvas.changes;
    frames(3);
    EXPECT_EQ(canvas.changes, changes);
    game.nextMission();
    frames(1);
    EXPECT_EQ(canvas.changes, changes + 1) << "a new selection repaints";
    click(700, 435);  // the SECURITY UPLINK HACK row of the dossier
    EXPECT_EQ(game.approach, nj::Approach::UplinkHack);
    click(1213, 657);  // QUIT
    EXPECT_EQ(quits, 1);
    const int drawn = canvas.draws;
    overlay->teardown();
    frames(2);
    EXPECT_EQ(canvas.draws, drawn);
    EXPECT_EQ(overlay->view(), nullptr);
}

TEST_F(OverlayHost, PageIsLaidOut1280WideAndScaledToEveryViewport) {
    // Always even, always 1280 page units wide, the smallest a tenth.
    const struct {
        float width, height;
        std::uint32_t pixelWidth, pixelHeight;
    } cases[] = {
        {1921.0f, 1081.0f, 1922, 1082}, {639.0f, 359.4f, 640, 360}, {100.0f, 56.25f, 128, 72}};
    for (const auto& c : cases) {
        canvas.width = c.width;
        canvas.height = c.height;
        frames(1);
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        EXPECT_EQ(overlay->pixelWidth(), c.pixelWidth);
        EXPECT_EQ(overlay->pixelHeight(), c.pixelHeight);
        EXPECT_DOUBLE_EQ(overlay->deviceScale(), c.pixelWidth / 1280.0);
        ASSERT_EQ(canvas.lastWidth, static_cast<int>(c.pixelWidth));
        // The operations panel painted, the gap beside it see-through, the file to the edge.
        EXPECT_GT(canvas.alphaAt(60, 300), 128);
        EXPECT_EQ(canvas.alphaAt(424, 300), 0);
        EXPECT_GT(canvas.alphaAt(1180, 300), 128) << "the operation file reaches the right edge";
    }
    canvas.width = 0.0f;  // minimised: no viewport, the view keeps its size
    frames(1);
    EXPECT_EQ(overlay->pixelWidth(), 128u);
}

// Truncated, never past the page; NaN from an empty viewport gives the corner.
TEST(PagePointer, CanvasSharesBecomeWholePageUnits) {
    const struct {
        float fx, fy;
        std::uint32_t x, y;
    } cases[] = {{0.0f, 0.0f, 0, 0},
                 {1.0f, 1.0f, 1280, 720},
                 {0.5f, 0.5f, 640, 360},
                 {0.25789f, 0.23334f, 330, 168},
                 {0.9999f, 0.9999f, 1279, 719},
                 {-0.5f, -1.0f, 0, 0},
                 {std::nanf(""), 0.5f, 0, 360}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fx << ", " << c.fy);
        const nj::PagePoint p = nj::pagePointFromCanvas(c.fx, c.fy);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
}

}  // namespace
