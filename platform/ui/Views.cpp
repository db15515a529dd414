#include "platform/ui/Views.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/ui/Ui.h"

namespace vw::platform {

// ---- View ----

View::View(Ui& ui, Rect frame, const std::string& kind) : ui_(ui) {
    name_ = kind + "#" + std::to_string(ui_.nextViewNumber());
    size_ = {frame.width, frame.height};
    position_ = {frame.x + anchor_.x * frame.width, frame.y + anchor_.y * frame.height};
}

View::~View() {
    ui_.animator().forget(*this);
    if (ui_.keyWindow() == this) ui_.setKeyWindow(nullptr);
    for (auto& c : children_) c->parent_ = nullptr;
}

void View::changed() { ui_.changed(); }

View* findViewNamed(View& root, std::string_view name) {
    if (root.name() == name) return &root;
    for (const auto& child : root.subviews())
        if (View* found = findViewNamed(*child, name)) return found;
    return nullptr;
}

void View::trace(const std::string& op, std::vector<std::string> args) const {
    if (!ui_.trace()) return;
    args.insert(args.begin(), name_);
    ui_.trace()->record(op, args);
}

Rect View::frameWithTransform(Transform t) const {
    const float w = size_.width * std::fabs(t.sx);
    const float h = size_.height * std::fabs(t.sy);
    return {position_.x - anchor_.x * w, position_.y - anchor_.y * h, w, h};
}

Rect View::frame() const { return frameWithTransform(transform_); }

void View::setFrame(Rect f) {
    trace("view.setFrame", {toString(f)});
    setDrawn(size_, Size{f.width, f.height});
    setDrawn(position_, Point{f.x + anchor_.x * f.width, f.y + anchor_.y * f.height});
}

void View::setAnchorPoint(Point a) {
    trace("layer.setAnchorPoint", {toString(a)});
    setDrawn(anchor_, a);
}

void View::setTransform(Transform t) {
    trace("view.setTransform", {toString(t)});
    ui_.animator().transformWillChange(*this, transform_, t);
    setDrawn(transform_, t);
}

Transform View::presentationTransform() const { return ui_.animator().presentationTransform(*this, transform_); }

void View::setHidden(bool hidden) {
    trace("view.setHidden", {boolText(hidden)});
    setDrawn(hidden_, hidden);
}

void View::setBackgroundColor(Colour c) {
    trace("view.setBackgroundColor", {toString(c)});
    setDrawn(background_, c);
}

void View::setUserInteractionEnabled(bool on) {
    trace("view.setUserInteractionEnabled", {boolText(on)});
    interactive_ = on;
}

void View::addSubview(std::shared_ptr<View> child) {
    if (!child || child.get() == this) return;
    trace("view.addSubview", {child->name()});
    if (child->parent_) {
        auto& siblings = child->parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), child), siblings.end());
    }
    child->parent_ = this;
    children_.push_back(std::move(child));
    changed();
}

Point View::originInWindow() const {
    Point p{0, 0};
    for (const View* v = this; v; v = v->parent_) {
        const Rect f = v->frame();
        p.x += f.x;
        p.y += f.y;
        if (v->parent_) {
            const Point bounds = v->parent_->boundsOrigin();
            p.x -= bounds.x;
            p.y -= bounds.y;
        }
    }
    return p;
}

// ---- ImageView ----

ImageView::ImageView(Ui& ui, Rect frame) : View(ui, frame, "imageView") { initInteractive(false); }

ImageView::ImageView(Ui& ui, ImageRef image)
    : View(ui, Rect{0, 0, image && image->size ? image->size->width : 0, image && image->size ? image->size->height : 0},
           "imageView"),
      image_(std::move(image)) {
    initInteractive(false);
    trace("imageView.initWithImage", {image_ ? quoteText(image_->name) : "nil"});
}

void ImageView::setImage(ImageRef image) {
    trace("imageView.setImage", {image ? quoteText(image->name) : "nil"});
    setDrawn(image_, std::move(image));
}

// ---- TextView ----

TextView::TextView(Ui& ui, Rect frame) : View(ui, frame, "textView") { initBackground(Colour::white()); }

GraphView::GraphView(Ui& ui, Rect frame) : View(ui, frame, "graphView") { initInteractive(false); }

void GraphView::setLines(std::vector<Line> lines) {
    std::size_t points = 0;
    for (const auto& l : lines) points += l.points.size();
    trace("graphView.setLines", {std::to_string(lines.size()), std::to_string(points)});
    setDrawn(lines_, std::move(lines));
}

void GraphView::setMarks(std::vector<Mark> marks) {
    std::vector<std::string> ys;
    for (const auto& m : marks) ys.push_back(traceNumber(m.y));
    trace("graphView.setMarks", ys);
    setDrawn(marks_, std::move(marks));
}

void TextView::setText(const std::string& text) {
    trace("textView.setText", {quoteText(text)});
    setDrawn(text_, text);
}

void TextView::setTextColor(Colour c) {
    trace("textView.setTextColor", {toString(c)});
    setDrawn(textColor_, c);
}

void TextView::setFont(std::optional<Font> font) {
    trace("textView.setFont", {font ? quoteText(font->name) + " " + traceNumber(font->size) : "nil"});
    setDrawn(font_, std::move(font));
}

void TextView::setTextAlignment(TextAlignment a) {
    trace("textView.setTextAlignment", {std::to_string(static_cast<int>(a))});
    setDrawn(alignment_, a);
}

void TextView::setEditable(bool e) {
    trace("textView.setEditable", {boolText(e)});
    editable_ = e;
}

// ---- PickerView ----

PickerView::PickerView(Ui& ui, Rect frame)
    : View(ui,
           frame.width == 0 && frame.height == 0 ? Rect{frame.x, frame.y, ui.screenWidth(), kStandardHeight} : frame,
           "pickerView") {}

void PickerView::setDataSource(PickerDataSource* ds, const std::string& name) {
    trace("picker.setDataSource", {name});
    dataSource_ = ds;
}

void PickerView::setDelegate(PickerDelegate* d, const std::string& name) {
    trace("picker.setDelegate", {name});
    delegate_ = d;
}

void PickerView::setShowsSelectionIndicator(bool on) {
    trace("picker.setShowsSelectionIndicator", {boolText(on)});
    setDrawn(indicator_, on);
}

void PickerView::loadIfNeeded() {
    if (loaded_) return;
    loaded_ = true;
    std::vector<std::string> titles;
    const bool hasRows = dataSource_ && dataSource_->numberOfComponentsInPickerView(*this) >= 1;
    if (hasRows) {
        const int rows = std::max(0, dataSource_->pickerViewNumberOfRowsInComponent(*this, 0));
        if (delegate_) setDrawn(rowHeight_, delegate_->pickerViewRowHeightForComponent(*this, 0));
        titles.reserve(static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r) titles.push_back(delegate_ ? delegate_->pickerViewTitleForRow(*this, r, 0) : "?");
    }
    setDrawn(titles_, std::move(titles));
    if (!hasRows) return;
    if (!titles_.empty()) selected_ = std::clamp(selected_, 0, static_cast<int>(titles_.size()) - 1);
    if (!dragging_ && !ui_.animator().wheelTurning(*this)) setDrawn(wheel_, static_cast<float>(selected_));
    setDrawn(wheel_, std::clamp(wheel_, -1.0f, static_cast<float>(std::max(0, lastRow())) + 1.0f));
}

void PickerView::reloadAllComponents() {
    trace("picker.reloadAllComponents", {});
    loaded_ = false;
    loadIfNeeded();
}

void PickerView::selectRow(int row, int component, bool animated) {
    trace("picker.selectRow", {std::to_string(row), std::to_string(component), boolText(animated)});
    loadIfNeeded();
    if (component != 0) return;
    const int last = static_cast<int>(titles_.size()) - 1;
    selected_ = last < 0 ? 0 : std::clamp(row, 0, last);
    dragging_ = false;
    if (animated && last >= 0 && wheel_ != static_cast<float>(selected_)) {
        ui_.animator().startWheel(*this, wheel_, static_cast<float>(selected_), kWheelSeconds, false);
    } else {
        ui_.animator().cancelWheel(*this);
        setDrawn(wheel_, static_cast<float>(selected_));
    }
}

int PickerView::selectedRowInComponent(int component) const {
    if (component != 0 || titles_.empty()) return -1;
    return selected_;
}

const std::vector<std::string>& PickerView::titles() const { return titles_; }
float PickerView::rowHeight() const { return rowHeight_; }

void PickerView::userSelectRow(int row) {
    loadIfNeeded();
    if (titles_.empty()) return;
    selected_ = std::clamp(row, 0, static_cast<int>(titles_.size()) - 1);
    // The wheel rests where the user left it.
    dragging_ = false;
    ui_.animator().cancelWheel(*this);
    setDrawn(wheel_, static_cast<float>(selected_));
    trace("picker.userSelectedRow", {std::to_string(selected_)});
    if (delegate_) delegate_->pickerViewDidSelectRow(*this, selected_, 0);
}

float PickerView::wheelPosition() const { return wheel_; }

void PickerView::userDragWheelBy(float dy) {
    loadIfNeeded();
    if (titles_.empty()) return;
    ui_.animator().cancelWheel(*this);
    dragging_ = true;
    const float step = -dy / std::max(1.0f, rowHeight_);
    const float last = static_cast<float>(lastRow());
    // Past the ends the wheel follows at half the finger's speed.
    float next = wheel_ + step;
    if (next < 0) {
        const float edge = std::min(wheel_, 0.0f);
        next = edge + (next - edge) * 0.5f;
    } else if (next > last) {
        const float edge = std::max(wheel_, last);
        next = edge + (next - edge) * 0.5f;
    }
    setDrawn(wheel_, std::clamp(next, -1.0f, last + 1.0f));
}

int PickerView::settleRowFor(float position, float velocityY) const {
    // Coasting: a quarter of a second's worth of the finger's speed.
    const float coast = -velocityY * 0.25f / std::max(1.0f, rowHeight_);
    return std::clamp(static_cast<int>(std::lround(position + coast)), 0, std::max(0, lastRow()));
}

void PickerView::userReleaseWheel(float velocityY) {
    loadIfNeeded();
    dragging_ = false;
    if (titles_.empty()) return;
    settleTo(settleRowFor(wheel_, velocityY), true);
}

void PickerView::userTurnWheelBy(int rows) {
    loadIfNeeded();
    if (titles_.empty() || rows == 0) return;
    // Turns add up: the next notch counts from where the wheel is heading.
    const int from = ui_.animator().wheelTurning(*this) ? ui_.animator().wheelTarget(*this)
                                                        : static_cast<int>(std::lround(wheel_));
    settleTo(std::clamp(from + rows, 0, lastRow()), true);
}

void PickerView::userTapWheelAt(float dy) {
    loadIfNeeded();
    if (titles_.empty()) return;
    const int rows = static_cast<int>(std::lround(dy / std::max(1.0f, rowHeight_)));
    settleTo(std::clamp(static_cast<int>(std::lround(wheel_)) + rows, 0, lastRow()), true);
}

void PickerView::settleTo(int row, bool byUser) {
    const double seconds = std::clamp(0.2 + 0.06 * std::fabs(static_cast<double>(row) - wheel_), 0.2, 0.8);
    ui_.animator().startWheel(*this, wheel_, static_cast<float>(row), seconds, byUser);
}

void PickerView::animatorWheelSettled(int row) {
    setDrawn(wheel_, static_cast<float>(row));
    userSelectRow(row);
}

// ---- ScrollView ----

ScrollView::ScrollView(Ui& ui, Rect frame) : View(ui, frame, "scrollView") { initClipsToBounds(true); }

void ScrollView::setDelegate(ScrollViewDelegate* d, const std::string& name) {
    trace("scrollView.setDelegate", {name});
    delegate_ = d;
}

void ScrollView::setBounces(bool on) {
    trace("scrollView.setBounces", {boolText(on)});
    bounces_ = on;
}

void ScrollView::setPagingEnabled(bool on) {
    trace("scrollView.setPagingEnabled", {boolText(on)});
    paging_ = on;
}

void ScrollView::setContentSize(Size s) {
    trace("scrollView.setContentSize", {toString(s)});
    content_ = s;
}

Point ScrollView::maxContentOffset() const {
    const Size b = boundsSize();
    return {std::max(0.0f, content_.width - b.width), std::max(0.0f, content_.height - b.height)};
}

Point ScrollView::clamp(Point p) const {
    const Point m = maxContentOffset();
    return {std::clamp(p.x, 0.0f, m.x), std::clamp(p.y, 0.0f, m.y)};
}

void ScrollView::setContentOffset(Point p) {
    trace("scrollView.setContentOffset", {toString(p)});
    ui_.animator().cancelScroll(*this);
    userScrolling_ = false;
    setDrawn(offset_, p);
}

void ScrollView::scrollRectToVisible(Rect r, bool animated) {
    trace("scrollView.scrollRectToVisible", {toString(r), boolText(animated)});
    const Size b = boundsSize();
    Point target = offset_;
    auto axis = [](float lo, float len, float off, float view) {
        if (lo < off) return lo;                        // before the visible part
        if (lo + len > off + view) return lo + len - view;  // after it
        return off;
    };
    target.x = axis(r.x, r.width, offset_.x, b.width);
    target.y = axis(r.y, r.height, offset_.y, b.height);
    target = clamp(target);
    userScrolling_ = false;
    if (!animated) {
        ui_.animator().cancelScroll(*this);
        setDrawn(offset_, target);
    } else if (!(target == offset_)) {
        ui_.animator().startScroll(*this, offset_, target, kScrollAnimationSeconds, false);
    }
}

Point ScrollView::pageAligned(Point p, float velocityX) const {
    if (!paging_) return clamp(p);
    const float w = boundsSize().width;
    if (w <= 0) return clamp(p);
    float page = std::round(p.x / w);
    // A flick moves on by a page even when it did not cross the middle.
    const float exact = p.x / w;
    if (velocityX > 300 && page < std::ceil(exact)) page = std::ceil(exact);
    if (velocityX < -300 && page > std::floor(exact)) page = std::floor(exact);
    return clamp({page * w, p.y});
}

void ScrollView::userDragBy(float dx, float dy) {
    ui_.animator().cancelScroll(*this);
    userScrolling_ = true;
    Point p{offset_.x - dx, offset_.y - dy};
    const Point c = clamp(p);
    if (bounces_) {
        // Past the ends the content follows at half the finger's speed.
        p.x = c.x + (p.x - c.x) * 0.5f;
        p.y = c.y + (p.y - c.y) * 0.5f;
    } else {
        p = c;
    }
    setDrawn(offset_, p);
}

void ScrollView::userRelease(float velocityX, float /*velocityY*/) {
    userScrolling_ = true;
    const Point target = pageAligned(offset_, velocityX);
    ui_.animator().startScroll(*this, offset_, target, kScrollAnimationSeconds, true);
}

void ScrollView::userSwipeTo(Point restingOffset) {
    ui_.animator().cancelScroll(*this);
    userScrolling_ = true;
    setDrawn(offset_, pageAligned(restingOffset, 0));
    animatorUserScrollEnded();
}

void ScrollView::animatorUserScrollEnded() {
    userScrolling_ = false;
    trace("scrollView.didEndDecelerating", {toString(offset_)});
    if (delegate_) delegate_->scrollViewDidEndDecelerating(*this);
}

// ---- Window ----

Window::Window(Ui& ui, Rect frame) : View(ui, frame, "window") {}

void Window::makeKeyAndVisible() {
    trace("window.makeKeyAndVisible", {});
    ui_.setKeyWindow(this);
}

Point Touch::locationInView(const View* view) const {
    if (!view) return windowLocation;
    const Point o = view->originInWindow();
    return {windowLocation.x - o.x, windowLocation.y - o.y};
}

}  // namespace vw::platform
