#include "display/size_cache.h"

CharSize CharSizeCache::Get(int fontHeight, std::uint32_t code) {
    auto& atHeight = sizes_[fontHeight];
    const auto found = atHeight.find(code);
    if (found != atHeight.end()) return found->second;
    const CharSize size = measure_(fontHeight, code);
    atHeight.emplace(code, size);
    return size;
}

const std::unordered_map<std::uint32_t, CharSize>* CharSizeCache::At(int fontHeight) const {
    const auto found = sizes_.find(fontHeight);
    return found != sizes_.end() ? &found->second : nullptr;
}

namespace {

// Sizes at one height guessed from those measured at another, in proportion.
class ScaledCanvas : public CharCanvas {
public:
    ScaledCanvas(int height, int from, const std::unordered_map<std::uint32_t, CharSize>* sizes)
        : height_(height), from_(from), sizes_(sizes) {}
    CharSize Measure(std::uint32_t code) override {
        if (sizes_) {
            const auto found = sizes_->find(code);
            if (found != sizes_->end()) return {Scale(found->second.cx), Scale(found->second.cy)};
        }
        return {code < 256 ? height_ / 2 : height_, height_};
    }
    void DrawLine(int, const std::vector<PlacedChar>&) override {}

private:
    int Scale(int size) const { return int(((long long)size * height_ + from_ / 2) / from_); }
    int height_, from_;
    const std::unordered_map<std::uint32_t, CharSize>* sizes_;
};

}  // namespace

LayoutResult TextLayouts::Measured(int fontHeight) {
    const auto found = measured_.find(fontHeight);
    if (found != measured_.end()) return found->second;
    CachedCanvas canvas(cache_, fontHeight);
    const LayoutResult r = LayoutText(canvas, 0, 0, right_, text_, kAdvancePercent, false);
    measured_.emplace(fontHeight, r);
    return r;
}

LayoutResult TextLayouts::Estimated(int fontHeight) const {
    int from = 0;  // the nearest height measured, 0 while none is
    const auto above = measured_.lower_bound(fontHeight);
    if (above != measured_.end()) from = above->first;
    if (above != measured_.begin()) {
        const int below = std::prev(above)->first;
        if (!from || fontHeight - below < from - fontHeight) from = below;
    }
    ScaledCanvas canvas(fontHeight, std::max(1, from), from ? cache_.At(from) : nullptr);
    return LayoutText(canvas, 0, 0, right_, text_, kAdvancePercent, false);
}

MeasureAtHeight CachedMeasure(CharSizeCache& cache, int right, const DisplayText& text) {
    auto layouts = std::make_shared<TextLayouts>(cache, right, text);
    return [layouts](int fontHeight) { return layouts->Measured(fontHeight); };
}
