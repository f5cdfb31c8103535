#pragma once
// Character sizes for one paint: each distinct character is measured once per font
// height, and the layout of a text at one height is worked out once. The sizes are
// exactly those the platform measures, so layouts come out as without the cache.
#include "display/text_layout.h"

#include <memory>
#include <unordered_map>

class CharSizeCache {
public:
    // Measures one character at a font height.
    using MeasureFn = std::function<CharSize(int fontHeight, std::uint32_t code)>;
    explicit CharSizeCache(MeasureFn measure) : measure_(std::move(measure)) {}

    CharSize Get(int fontHeight, std::uint32_t code);

private:
    MeasureFn measure_;
    std::unordered_map<int, std::unordered_map<std::uint32_t, CharSize>> sizes_;
};

// Measures from the cache at one font height; draws on `drawOn` when given.
class CachedCanvas : public CharCanvas {
public:
    CachedCanvas(CharSizeCache& cache, int fontHeight, CharCanvas* drawOn = nullptr)
        : cache_(cache), height_(fontHeight), drawOn_(drawOn) {}
    CharSize Measure(std::uint32_t code) override { return cache_.Get(height_, code); }
    void Draw(int x, int y, std::uint32_t code) override {
        if (drawOn_) drawOn_->Draw(x, y, code);
    }
    void DrawLine(int y, const std::vector<PlacedChar>& line) override {
        if (drawOn_) drawOn_->DrawLine(y, line);
    }

private:
    CharSizeCache& cache_;
    int height_;
    CharCanvas* drawOn_;
};

// The layout of `text` at 0, 0 wrapping at `right`, once per font height. The cache
// and the text must outlive the returned function.
MeasureAtHeight CachedMeasure(CharSizeCache& cache, int right, const DisplayText& text);
