// The effect routines on memory surfaces: pause counts, the pieces each step draws and
// the picture at the end, watched through the pause hook with pauses of 0.
#include "kytest.h"

#include <string>

#include "effects/effects.h"
#include "surfaces.h"

using fx::inPlace;
using fx::Piece;
using fx::Playback;

namespace {

// Checks that frame `step` (0-based) of `run` shows exactly `pieces` and nothing else.
void expectStep(const Playback &run, size_t step, const std::vector<Piece> &pieces, const std::string &what)
{
    ASSERT_LT(step, run.frames.size()) << what << ": no pause " << step + 1;
    POINT at = {};
    const int wrong = fx::countDifferences(run, run.frames[step], fx::expectedImage(run, pieces), &at);
    EXPECT_EQ(wrong, 0) << what << ", step " << step + 1 << ": first wrong pixel at (" << at.x << ", " << at.y
                        << ") relative to the rectangle";
}

// The rectangle shows the picture in place at the end.
void expectPictureInPlace(const Playback &run, const std::string &what)
{
    const int w = run.width + 2 * run.margin;
    int wrong = 0;
    for (int y = 0; y < run.height; ++y)
        for (int x = 0; x < run.width; ++x) {
            const int dx = run.margin + x, dy = run.margin + y;
            wrong += run.final[size_t(dy) * w + dx] != fx::codeOf(dx, dy);
        }
    EXPECT_EQ(wrong, 0) << what << ": pixels of the rectangle not showing the picture at the end";
}

// Pauses of the deterministic effects with P = 20, written out per size: a zero side, a
// one-pixel side, sides under, over and between multiples of 20. The drips' counts are
// random (see DripStrips).
const SIZE pauseSizes[] = {{0, 30}, {30, 0}, {1, 1}, {1, 45}, {19, 7}, {45, 30}, {100, 60}, {110, 75}, {405, 300}};
constexpr size_t pauseSizeCount = sizeof pauseSizes / sizeof pauseSizes[0];
const struct {
    int effect;
    int pauses[pauseSizeCount];
} expectedPauses[] = {
    // effect   0x30 30x0  1x1 1x45 19x7 45x30 100x60 110x75 405x300
    { 0, { 20,  20,  20,  20,  20,  20,  20,  20,  20}},  // column interlace: always P
    { 1, { 20,  20,  20,  20,  20,  20,  20,  20,  20}},  // row interlace
    { 2, {  0,   2,   1,   1,   1,   3,   5,   6,  21}},  // wipe from left: strips covering W
    { 3, {  1,   2,   1,   1,   1,   3,   6,   6,  21}},  // wipe from right: W / P + 1 strips
    { 8, {  0,   0,   0,   0,   0,   0,   2,   2,  33}},  // random blocks: a pause per ten blocks
    { 9, {  8,   0,   0,  10,   0,  12,  40,  40, 496}},  // block spiral
    {10, {  0,   0,   1,   1,   1,   3,   6,   6,  21}},  // squeezes across: none on an empty rectangle
    {11, {  0,   0,   1,   1,   1,   3,   6,   6,  21}},
    {12, {  0,   0,   1,   3,   1,   2,   4,   4,  16}},  // squeezes down
    {13, {  0,   0,   1,   3,   1,   2,   4,   4,  16}},
    {14, {  0,   1,   0,   0,   0,   2,   5,   5,  20}},  // edge slides across: whole steps of W
    {15, {  0,   1,   0,   0,   0,   2,   5,   5,  20}},
    {16, {  1,   0,   0,   2,   0,   1,   3,   3,  15}},  // edge slides down: whole steps of H
    {17, {  1,   0,   0,   2,   0,   1,   3,   3,  15}},
    {18, {  1,   1,   0,   2,   0,   2,   4,   5,  20}},  // corner slides: squares below the longer side
    {19, {  1,   1,   0,   2,   0,   2,   4,   5,  20}},
    {20, { 20,  20,  20,  20,  20,  20,  20,  20,  20}},  // centre split
    {21, { 20,  20,  20,  20,  20,  20,  20,  20,  20}},  // grow
};

TEST(EffectRoutines, PauseCountsMatchTheTableForEachSize)
{
    for (const auto &row : expectedPauses) {
        for (size_t i = 0; i < pauseSizeCount; ++i) {
            const SIZE &size = pauseSizes[i];
            const Playback run = fx::observe(row.effect, size.cx, size.cy, 20, false, false);
            EXPECT_EQ(run.pauses, row.pauses[i])
                << "effect " << row.effect << " (" << bmpEffectNames[row.effect] << ") on " << size.cx << " x " << size.cy;
            if (size.cx > 0 && size.cy > 0)
                expectPictureInPlace(run, "effect " + std::to_string(row.effect));
        }
    }
    EXPECT_EQ(fx::observe(9, 400, 300, 20, false, false).pauses, 496) << "the spiral's worked example";
}

TEST(EffectRoutines, InterlaceFillsEveryStrideLineAtTheNextOffset)
{
    const Playback columns = fx::observe(0, 45, 30, 20, true);
    ASSERT_EQ(columns.frames.size(), 20u);
    for (int i = 0; i < 20; ++i)
        expectStep(columns, i, {inPlace(i, 0, 1, 30), inPlace(i + 20, 0, 1, 30)}, "column interlace, W = 45");
    // Columns 40 to 44 come only with the closing copy.
    EXPECT_EQ(fx::countDifferences(columns, columns.final, fx::expectedImage(columns, {inPlace(0, 0, 45, 30)})), 0);

    const Playback rows = fx::observe(1, 30, 45, 20, true);
    for (int i = 0; i < 20; ++i)
        expectStep(rows, i, {inPlace(0, i, 30, 1), inPlace(0, i + 20, 30, 1)}, "row interlace, H = 45");

    const Playback fine = fx::observe(0, 10, 5, 1, true);
    ASSERT_EQ(fine.frames.size(), 2u) << "P = 1 is raised to 2";
    for (int i = 0; i < 2; ++i) {
        std::vector<Piece> every;
        for (int x = i; x < 10; x += 2)
            every.push_back(inPlace(x, 0, 1, 5));
        expectStep(fine, i, every, "column interlace, P = 1");
    }
}

TEST(EffectRoutines, StripWipesLayStripsFromTheirEdge)
{
    const Playback left = fx::observe(2, 110, 20, 20, true);
    ASSERT_EQ(left.frames.size(), 6u);
    for (int k = 0; k < 6; ++k)
        expectStep(left, k, {inPlace(20 * k, 0, 20, 20)}, "wipe from left, W = 110");

    const int stripsAt100[] = {80, 60, 40, 20, 0, -20};
    const Playback right = fx::observe(3, 100, 20, 20, true);
    ASSERT_EQ(right.frames.size(), 6u);
    for (int k = 0; k < 6; ++k)
        expectStep(right, k, {inPlace(stripsAt100[k], 0, 20, 20)}, "wipe from right, W = 100");

    const int stripsAt110[] = {90, 70, 50, 30, 10, -10};
    const Playback odd = fx::observe(3, 110, 20, 20, true);
    ASSERT_EQ(odd.frames.size(), 6u);
    for (int k = 0; k < 6; ++k)
        expectStep(odd, k, {inPlace(stripsAt110[k], 0, 20, 20)}, "wipe from right, W = 110");

    const Playback empty = fx::observe(3, 0, 20, 20, true);
    EXPECT_EQ(empty.pauses, 1) << "W = 0 makes one empty strip and one pause";
}

TEST(EffectRoutines, EdgeSlidesMoveThePictureInByPPerStep)
{
    const Playback left = fx::observe(14, 110, 30, 20, true);
    ASSERT_EQ(left.frames.size(), 5u);
    for (int k = 1; k <= 5; ++k)
        expectStep(left, k - 1, {{110 - 20 * k, 0, 0, 0, 20 * k, 30}}, "slide from left, W = 110");
    // The picture stopped 10 pixels short; the closing copy sets it in place.
    EXPECT_EQ(fx::countDifferences(left, left.final, fx::expectedImage(left, {inPlace(0, 0, 110, 30)})), 0);

    const Playback right = fx::observe(15, 60, 10, 20, true);
    for (int k = 1; k <= 3; ++k)
        expectStep(right, k - 1, {{0, 0, 60 - 20 * k, 0, 20 * k, 10}}, "slide from right");
    const Playback top = fx::observe(16, 10, 50, 20, true);
    ASSERT_EQ(top.frames.size(), 2u);
    for (int k = 1; k <= 2; ++k)
        expectStep(top, k - 1, {{0, 50 - 20 * k, 0, 0, 10, 20 * k}}, "slide from top");
    const Playback bottom = fx::observe(17, 10, 50, 20, true);
    for (int k = 1; k <= 2; ++k)
        expectStep(bottom, k - 1, {{0, 0, 0, 50 - 20 * k, 10, 20 * k}}, "slide from bottom");
}

TEST(EffectRoutines, CornerSlidesGrowASquareShowingTheOppositeCorner)
{
    // W = 120, H = 60: squares of side 20 to 100; from side 60 on the source top stays 0.
    const Playback topLeft = fx::observe(18, 120, 60, 20, true);
    ASSERT_EQ(topLeft.frames.size(), 5u);
    const Playback bottomLeft = fx::observe(19, 120, 60, 20, true);
    ASSERT_EQ(bottomLeft.frames.size(), 5u);
    // Per step: the square's side, the source column it starts at, and the row that is
    // the source top (top-left) or the target top (bottom-left).
    const int sides[] = {20, 40, 60, 80, 100}, sourceX[] = {100, 80, 60, 40, 20}, tops[] = {40, 20, 0, 0, 0};
    for (int k = 0; k < 5; ++k) {
        const int c = sides[k];
        expectStep(topLeft, k, {{sourceX[k], tops[k], 0, 0, c, c}}, "slide from top-left, side " + std::to_string(c));
        expectStep(bottomLeft, k, {{sourceX[k], 0, 0, tops[k], c, c}},
                   "slide from bottom-left, side " + std::to_string(c));
    }
    EXPECT_EQ(fx::observe(18, 400, 300, 20, false, false).pauses, 19) << "squares of side 20 to 380";
}

TEST(EffectRoutines, CentreSplitSpreadsStripsFromTheCentre)
{
    // W = 400: q = 10, h = 200; left copies at 190 ... 0, right copies at 210 ... 400
    // taken from source x = 390 ... 200.
    const Playback split = fx::observe(20, 400, 8, 20, true);
    ASSERT_EQ(split.frames.size(), 20u);
    for (int k = 1; k <= 20; ++k)
        expectStep(split, k - 1, {{0, 0, 200 - 10 * k, 0, 10, 8}, {400 - 10 * k, 0, 200 + 10 * k, 0, 10, 8}},
                   "centre split, W = 400");

    const Playback narrow = fx::observe(20, 39, 8, 20, true);
    ASSERT_EQ(narrow.frames.size(), 20u) << "W < 40 still pauses 20 times";
    for (int k = 0; k < 20; ++k)
        expectStep(narrow, k, {}, "centre split, W = 39 draws nothing");
}

TEST(EffectRoutines, GrowUncoversThePictureFromTheTopLeftCorner)
{
    const Playback grow = fx::observe(21, 105, 60, 20, true);
    ASSERT_EQ(grow.frames.size(), 20u);
    for (int k = 1; k <= 20; ++k)
        expectStep(grow, k - 1, {inPlace(0, 0, 5 * k, 3 * k)}, "grow, W = 105, H = 60");
    EXPECT_EQ(fx::countDifferences(grow, grow.final, fx::expectedImage(grow, {inPlace(0, 0, 105, 60)})), 0)
        << "the closing copy adds the last 5 columns";
}

void collect(void *context, int x, int y)
{
    static_cast<std::vector<POINT> *>(context)->push_back({x, y});
}

TEST(EffectRoutines, BlockSpiralWalksClockwiseFromTheEdge)
{
    std::vector<POINT> order;
    EXPECT_EQ(spiralWalk(40, 40, 20, collect, &order), 14);
    const POINT expected[] = {{0, 0},   {20, 0},  {40, 0}, {20, 0},  {20, 20}, {20, 40},  {40, 20},
                              {20, 20}, {0, 20},  {-20, 20}, {0, 40}, {0, 20},  {0, 0},   {0, -20}};
    ASSERT_EQ(order.size(), 14u);
    for (size_t i = 0; i < 14; ++i)
        EXPECT_TRUE(order[i].x == expected[i].x && order[i].y == expected[i].y)
            << "block " << i + 1 << " at (" << order[i].x << ", " << order[i].y << "), expected (" << expected[i].x
            << ", " << expected[i].y << ")";

    const Playback spiral = fx::observe(9, 40, 40, 20, true);
    ASSERT_EQ(spiral.frames.size(), 14u);
    for (size_t i = 0; i < 14; ++i)
        expectStep(spiral, i, {inPlace(expected[i].x, expected[i].y, 20, 20)}, "spiral 40 x 40");

    EXPECT_EQ(fx::observe(9, 100, 19, 20, false, false).pauses, 0) << "H < b: rings = 0, closing copy only";
    expectPictureInPlace(fx::observe(9, 100, 19, 20, false, false), "spiral with H < b");
}

TEST(EffectRoutines, RandomBlocksDrawWholeGridBlocksInPlace)
{
    struct Case { int size, param, block, pauses; } cases[] = {{99, 20, 20, 2}, {20, 2, 4, 3}};
    for (const auto &c : cases) {
        const Playback run = fx::observe(8, c.size, c.size, c.param, true);
        ASSERT_EQ(run.pauses, c.pauses) << "random blocks on " << c.size << " x " << c.size;
        // Every drawn pixel is a picture pixel in place, inside a fully drawn grid block.
        const int w = c.size + 2 * run.margin;
        for (size_t f = 0; f < run.frames.size(); ++f) {
            int drawn = 0, wrong = 0, partial = 0;
            for (int y = 0; y < w; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint32_t pixel = run.frames[f][size_t(y) * w + x];
                    if (pixel == fx::unpainted)
                        continue;
                    ++drawn;
                    wrong += pixel != fx::codeOf(x, y);
                    const int bx = x - run.margin - (x - run.margin) % c.block + run.margin;
                    const int by = y - run.margin - (y - run.margin) % c.block + run.margin;
                    partial += run.frames[f][size_t(by) * w + bx] == fx::unpainted;
                }
            EXPECT_GT(drawn, 0) << "frame " << f + 1 << " shows blocks";
            EXPECT_EQ(wrong, 0) << "frame " << f + 1 << ": blocks are copied in place";
            EXPECT_EQ(partial, 0) << "frame " << f + 1 << ": blocks lie on the " << c.block << "-pixel grid";
        }
    }
}

// Drip down with W = 100 and P = 20: six strips, the sixth wholly right of the rectangle.
TEST(EffectRoutines, DripStripsRunFromTheirEdgeInSmallSteps)
{
    const int width = 100, height = 40;
    const Playback run = fx::observe(4, width, height, 20, true);
    const int w = width + 2 * run.margin;
    ASSERT_GE(run.pauses, 6) << "at most 9 pixels per pass over 40 rows (five passes), then one empty pass";
    EXPECT_EQ(run.frames.back(), fx::expectedImage(run, {})) << "the last pass draws nothing";
    int depth[6] = {};
    for (size_t f = 0; f < run.frames.size(); ++f) {
        for (int j = 0; j < 6; ++j) {
            // Rows drawn in strip j this pass: a run of at most 9 that starts where it stopped.
            int top = -1, bottom = -1;
            for (int y = -run.margin; y < height + run.margin; ++y) {
                const size_t at = size_t(y + run.margin) * w + run.margin + 20 * j;
                if (run.frames[f][at] != fx::unpainted) {
                    if (top < 0)
                        top = y;
                    bottom = y + 1;
                }
            }
            if (top < 0)
                continue;
            EXPECT_EQ(top, depth[j]) << "strip " << j << " pass " << f + 1 << " continues its drip";
            EXPECT_LE(bottom - top, 9) << "strip " << j << " pass " << f + 1;
            depth[j] = bottom;
        }
    }
    for (int j = 0; j < 6; ++j)
        EXPECT_GE(depth[j], height) << "strip " << j << " (the sixth starts at x = 100) ran to the far edge";
    expectStep(run, 0, [&] {
        // The first pass: each strip's first step, in place (reconstructed from the frame's columns).
        std::vector<Piece> pieces;
        for (int j = 0; j < 6; ++j) {
            int rows = 0;
            while (run.frames[0][size_t(run.margin + rows) * w + run.margin + 20 * j] != fx::unpainted)
                ++rows;
            pieces.push_back(inPlace(20 * j, 0, 20, rows));
        }
        return pieces;
    }(), "drip down, first pass");

    // Without clearing, every drip ends with the whole picture and no closing copy is needed.
    for (int effect = 4; effect <= 7; ++effect) {
        const Playback whole = fx::observe(effect, 70, 50, 20, false, false);
        expectPictureInPlace(whole, "drip effect " + std::to_string(effect));
    }
    EXPECT_EQ(fx::observe(4, 100, 0, 20, false, false).pauses, 1) << "H = 0: one empty pass, one pause";
}

TEST(EffectRoutines, SqueezesShowTheWholePictureInAGrowingBand)
{
    struct Case { int effect, width, height, steps; RECT (*band)(int k); } cases[] = {
        {10, 100, 30, 6, [](int k) { return RECT{0, 0, 20 * k, 30}; }},
        {11, 100, 30, 6, [](int k) { return RECT{100 - 20 * k, 0, 100, 30}; }},
        {12, 30, 10, 1, [](int) { return RECT{0, 0, 30, 10}; }},  // H < P: one step, stretched
        {13, 30, 50, 3, [](int k) { return RECT{0, 50 - 20 * k, 30, 50}; }},
    };
    for (const auto &c : cases) {
        const Playback run = fx::observe(c.effect, c.width, c.height, 20, true);
        const int steps = c.steps;
        ASSERT_EQ(run.pauses, steps) << "effect " << c.effect;
        const int w = c.width + 2 * run.margin;
        for (int k = 1; k <= steps; ++k) {
            RECT band = c.band(k);
            if (band.left < 0) band.left = 0;
            if (band.top < 0) band.top = 0;
            if (band.right > c.width) band.right = c.width;
            if (band.bottom > c.height) band.bottom = c.height;
            int outside = 0, missing = 0;
            for (int y = -run.margin; y < c.height + run.margin; ++y)
                for (int x = -run.margin; x < c.width + run.margin; ++x) {
                    const bool drawn = run.frames[k - 1][size_t(y + run.margin) * w + x + run.margin] != fx::unpainted;
                    const bool inBand = x >= band.left && x < band.right && y >= band.top && y < band.bottom;
                    outside += drawn && !inBand;
                    missing += inBand && !drawn;
                }
            EXPECT_EQ(outside, 0) << "effect " << c.effect << " step " << k << " draws only its band";
            EXPECT_EQ(missing, 0) << "effect " << c.effect << " step " << k << " fills its band";
        }
        expectPictureInPlace(run, "squeeze " + std::to_string(c.effect));
    }
    // The first band of a squeeze from the left starts with the picture's first column.
    const Playback left = fx::observe(10, 100, 30, 20, true);
    EXPECT_EQ(left.frames[0][size_t(left.margin + 5) * 228 + left.margin] & 0xFF00FF, fx::codeOf(64, 0) & 0xFF00FF)
        << "the picture's left edge at the band's left edge";
}

TEST(EffectRoutines, SqueezeWithoutScratchMakesTheClosingCopyAlone)
{
    // A scratch bitmap of 100000 x 30000 pixels (12 GB) can't be made.
    HDC probe = CreateCompatibleDC(NULL);
    fx::Surface dest = fx::makeSurface(4, 4);
    HBITMAP huge = CreateCompatibleBitmap(dest.dc, 100000, 30000);
    if (huge) {
        DeleteObject(huge);
        fx::freeSurface(dest);
        DeleteDC(probe);
        GTEST_SKIP() << "this system made a 12 GB bitmap, so the missing scratch can't be shown";
    }
    fx::freeSurface(dest);
    DeleteDC(probe);
    fx::Surface source = fx::makeSurface(40, 40), target = fx::makeSurface(40, 40);
    for (int i = 0; i < 1600; ++i) {
        source.bits[i] = fx::codeOf(i % 40, i / 40);
        target.bits[i] = fx::unpainted;
    }
    static int pauses;
    pauses = 0;
    effectPauseHook = [](unsigned int) { ++pauses; };
    effectSqueezeFromLeft(source.dc, 0, 0, target.dc, 0, 0, 100000, 30000, 0, 20);
    effectPauseHook = nullptr;
    GdiFlush();
    EXPECT_EQ(pauses, 0) << "no steps without a scratch surface";
    int wrong = 0;
    for (int i = 0; i < 1600; ++i)
        wrong += target.bits[i] != source.bits[i];
    EXPECT_EQ(wrong, 0) << "the closing copy still brings the picture";
    fx::freeSurface(target);
    fx::freeSurface(source);
}

TEST(EffectRoutines, NegativeSizesAndSmallParametersNeverFault)
{
    // Routines without a lower bound on P must not divide by it; negative sides must
    // not reach a remainder or an allocation.
    for (int effect = 0; effect < effectCount; ++effect) {
        for (int param : {0, -3}) {
            const Playback run = fx::observe(effect, 30, 20, param, false, false);
            expectPictureInPlace(run, "effect " + std::to_string(effect) + " with P = " + std::to_string(param));
        }
        for (const SIZE &negative : {SIZE{-30, 20}, SIZE{20, -30}}) {
            const Playback run = fx::observe(effect, negative.cx, negative.cy, 20, false);
            int drawn = fx::countDifferences(run, run.final, fx::expectedImage(run, {}));
            for (const std::vector<uint32_t> &frame : run.frames)
                drawn += fx::countDifferences(run, frame, fx::expectedImage(run, {}));
            if (effect == 9 && negative.cx < 0) {
                // The spiral's runs are placed from the far edges, so W = -30 (no column,
                // two rows) still walks one ring: 2 blocks down the right, 1 along the
                // bottom, 3 up the left, all outside the empty rectangle.
                EXPECT_EQ(run.pauses, 6) << "spiral on -30 x 20";
                continue;
            }
            EXPECT_EQ(drawn, 0) << "effect " << effect << " drew on " << negative.cx << " x " << negative.cy
                                << " (pauses " << run.pauses << ")";
        }
    }
}

TEST(EffectDispatcher, NumbersOutOfRangeAreClamped)
{
    const Playback zero = fx::observe(0, 45, 20, 20, true);
    const Playback below = fx::observe(-5, 45, 20, 20, true);
    EXPECT_EQ(below.frames, zero.frames) << "effect -5 plays effect 0";
    const Playback last = fx::observe(21, 45, 20, 20, true);
    const Playback centre = fx::observe(20, 45, 20, 20, true);
    ASSERT_NE(last.frames, centre.frames) << "effects 20 and 21 must be told apart";
    for (int effect : {22, 1000}) {
        const Playback above = fx::observe(effect, 45, 20, 20, true);
        EXPECT_EQ(above.frames, last.frames) << "effect " << effect << " plays effect 21";
    }
}

}  // namespace
