#pragma once
// Character sizes for one paint: each distinct character is measured once per font
// height, and the layout of a text at one height is worked out once. The sizes are
// exactly those the platform measures, so layouts come out as without the cache.
#include "display/text_layout.h"

#include <map>
#include <memory>
#include <unordered_map>

class CharSizeCache {
public:
    // Measures one character at a font height.
    using MeasureFn = std::function<CharSize(int fontHeight, std::uint32_t code)>;
    explicit CharSizeCache(MeasureFn measure) : measure_(std::move(measure)) {}

    CharSize Get(int fontHeight, std::uint32_t code);
    // The sizes measured so far at a height, or null when none were.
    const std::unordered_map<std::uint32_t, CharSize>* At(int fontHeight) const;

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
    void DrawLine(int y, const std::vector<PlacedChar>& line) override {
        if (drawOn_) drawOn_->DrawLine(y, line);
    }

private:
    CharSizeCache& cache_;
    int height_;
    CharCanvas* drawOn_;
};

// The layouts of one text at 0, 0 wrapping at `right`: measured from the cache once
// per font height, or estimated without measuring from the sizes its characters had at
// the nearest height measured, in proportion to the heights (before any measuring, a
// double-byte character as wide as the height and a single-byte one half that). The
// cache and the text must outlive it.
class TextLayouts {
public:
    TextLayouts(CharSizeCache& cache, int right, const DisplayText& text) : cache_(cache), right_(right), text_(text) {}
    LayoutResult Measured(int fontHeight);
    LayoutResult Estimated(int fontHeight) const;

private:
    CharSizeCache& cache_;
    int right_;
    const DisplayText& text_;
    std::map<int, LayoutResult> measured_;
};

// TextLayouts::Measured as a function. The cache and the text must outlive it.
MeasureAtHeight CachedMeasure(CharSizeCache& cache, int right, const DisplayText& text);
