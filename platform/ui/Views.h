// The view tree: plain views, image views, a text view, a one-wheel picker,
// a paging scroll view and the window. Views hold the state the screen is
// drawn from; the backends draw them and feed user input back in.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/Geometry.h"

namespace vw::platform {

class Ui;

struct Image {
    std::string name;
    std::string path;
    std::optional<Size> size;  // from the file's header, when it could be read
};
using ImageRef = std::shared_ptr<const Image>;

class View;
class ImageView;
class TextView;
class PickerView;
class ScrollView;
class GraphView;
class Window;

// One case per kind of view. A new kind of view adds its case here, and
// every visitor then fails to compile until it says what to do with it.
template <bool Const>
class BasicViewVisitor {
    template <class T>
    using Ref = std::conditional_t<Const, const T&, T&>;

public:
    virtual ~BasicViewVisitor() = default;
    virtual void visit(Ref<View> view) = 0;  // a plain view
    virtual void visit(Ref<ImageView> view) = 0;
    virtual void visit(Ref<TextView> view) = 0;
    virtual void visit(Ref<PickerView> view) = 0;
    virtual void visit(Ref<ScrollView> view) = 0;
    virtual void visit(Ref<GraphView> view) = 0;
    virtual void visit(Ref<Window> view) = 0;
};
using ViewVisitor = BasicViewVisitor<false>;
using ConstViewVisitor = BasicViewVisitor<true>;

// Every property that is drawn is stored through setDrawn (or followed by
// changed()), which moves the view system's revision on when the value
// differs: a backend redraws when the revision has moved.
class View {
public:
    // `kind` only names the view in the trace: "kind#number".
    View(Ui& ui, Rect frame, const std::string& kind = "view");
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // Each kind of view calls its own case of the visitor.
    virtual void accept(ViewVisitor& visitor) { visitor.visit(*this); }
    virtual void accept(ConstViewVisitor& visitor) const { visitor.visit(*this); }

    // Name used in the trace; defaults to kind#number.
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    // The frame in the superview, from the layer's position, bounds size,
    // anchor point and (scale) transform.
    Rect frame() const;
    void setFrame(Rect frame);
    Size boundsSize() const { return size_; }
    Point position() const { return position_; }

    Point anchorPoint() const { return anchor_; }
    // The layer keeps its position, so the frame moves.
    void setAnchorPoint(Point anchor);

    Transform transform() const { return transform_; }
    void setTransform(Transform t);  // animatable
    // What is on screen now: the transform part-way through an animation.
    Transform presentationTransform() const;
    // The frame as drawn with a given transform.
    Rect frameWithTransform(Transform t) const;

    bool hidden() const { return hidden_; }
    void setHidden(bool hidden);

    Colour backgroundColor() const { return background_; }
    void setBackgroundColor(Colour c);

    bool userInteractionEnabled() const { return interactive_; }
    void setUserInteractionEnabled(bool on);

    void addSubview(std::shared_ptr<View> child);
    const std::vector<std::shared_ptr<View>>& subviews() const { return children_; }
    View* superview() const { return parent_; }
    // Origin of this view's frame in window coordinates.
    Point originInWindow() const;

    // Where the view's own coordinates begin: its subviews show shifted by
    // minus this. A scroll view's is its content offset, any other's 0, 0.
    virtual Point boundsOrigin() const { return {0, 0}; }
    // Whether subviews are cut off at the view's edges (scroll views).
    bool clipsToBounds() const { return clips_; }

protected:
    void trace(const std::string& op, std::vector<std::string> args) const;
    // Defaults of a kind of view, set without a trace.
    void initInteractive(bool on) { interactive_ = on; }
    void initBackground(Colour c) { background_ = c; }
    void initClipsToBounds(bool on) { clips_ = on; }
    // Stores a drawn property; a different value is a change.
    template <class T, class V>
    void setDrawn(T& property, V&& value) {
        if (property == value) return;
        property = std::forward<V>(value);
        changed();
    }
    // Something drawn has changed.
    void changed();
    Ui& ui_;

private:
    std::string name_;
    Point position_;
    Size size_;
    Point anchor_{0.5f, 0.5f};
    Transform transform_;
    bool hidden_ = false;
    bool interactive_ = true;
    Colour background_ = Colour::clear();
    bool clips_ = false;
    View* parent_ = nullptr;
    std::vector<std::shared_ptr<View>> children_;
};

class ImageView : public View {
public:
    ImageView(Ui& ui, Rect frame);
    // Sized to the image (0 x 0 without one).
    ImageView(Ui& ui, ImageRef image);
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }
    const ImageRef& image() const { return image_; }
    void setImage(ImageRef image);

private:
    ImageRef image_;
};

enum class TextAlignment { Left = 0, Center = 1, Right = 2 };

struct Font {
    std::string name;
    float size = 17;
    bool operator==(const Font&) const = default;
};

class TextView : public View {
public:
    TextView(Ui& ui, Rect frame);
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }
    const std::string& text() const { return text_; }
    void setText(const std::string& text);
    Colour textColor() const { return textColor_; }
    void setTextColor(Colour c);
    const std::optional<Font>& font() const { return font_; }
    void setFont(std::optional<Font> font);  // absent: the font was not found
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment a);
    bool editable() const { return editable_; }
    void setEditable(bool e);

private:
    std::string text_;
    Colour textColor_ = Colour::black();
    std::optional<Font> font_;
    TextAlignment alignment_ = TextAlignment::Left;
    bool editable_ = true;
};

class PickerView;

class PickerDataSource {
public:
    virtual ~PickerDataSource() = default;
    virtual int numberOfComponentsInPickerView(PickerView& picker) = 0;
    virtual int pickerViewNumberOfRowsInComponent(PickerView& picker, int component) = 0;
};

class PickerDelegate {
public:
    virtual ~PickerDelegate() = default;
    virtual float pickerViewRowHeightForComponent(PickerView& picker, int component) = 0;
    virtual std::string pickerViewTitleForRow(PickerView& picker, int row, int component) = 0;
    virtual void pickerViewDidSelectRow(PickerView& picker, int row, int component) = 0;
};

class PickerView : public View {
public:
    static constexpr float kStandardHeight = 216;
    static constexpr float kDefaultRowHeight = 44;

    // A zero size takes the standard size: the screen's width, 216 high.
    PickerView(Ui& ui, Rect frame);
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    void setDataSource(PickerDataSource* ds, const std::string& name);
    void setDelegate(PickerDelegate* d, const std::string& name);
    void setShowsSelectionIndicator(bool on);
    bool showsSelectionIndicator() const { return indicator_; }

    // Asks the data source and delegate for every row again.
    void reloadAllComponents();
    // A row beyond the rows selects the nearest one; with no rows, row 0 is
    // remembered for when rows come. The delegate is not told.
    void selectRow(int row, int component, bool animated);
    int selectedRowInComponent(int component) const;

    // The rows as last loaded (component 0) and their height.
    const std::vector<std::string>& titles() const;
    float rowHeight() const;

    // The user has turned the wheel and it settled on `row`: selected, and
    // the delegate is told.
    void userSelectRow(int row);

    // The wheel as drawn: the row under the selection indicator, fractional
    // while the wheel turns. An animated selectRow turns it over the following
    // frames; otherwise it rests on the selected row.
    float wheelPosition() const;
    static constexpr double kWheelSeconds = 0.3;
    // User input, for backends and tests. A drag turns the wheel with the
    // finger (dy > 0 brings earlier rows to the indicator), stretching past
    // the first and last rows; the release lets it coast with the finger's
    // speed and settle on a row, which userSelectRow then reports. A turn
    // of the mouse wheel moves by whole rows and settles the same way.
    void userDragWheelBy(float dy);
    void userReleaseWheel(float velocityY);
    void userTurnWheelBy(int rows);
    // A tap `dy` points below (or above, negative) the indicator's centre
    // turns the row there to the indicator.
    void userTapWheelAt(float dy);
    bool userTurning() const { return dragging_; }
    // The row a coasting release from here would settle on.
    int settleRowFor(float position, float velocityY) const;

    // Called by the animator.
    void animatorSetWheelPosition(float p) { setDrawn(wheel_, p); }
    void animatorWheelSettled(int row);

private:
    void loadIfNeeded();
    void settleTo(int row, bool byUser);
    int lastRow() const { return static_cast<int>(titles_.size()) - 1; }
    float wheel_ = 0;
    bool dragging_ = false;
    PickerDataSource* dataSource_ = nullptr;
    PickerDelegate* delegate_ = nullptr;
    bool indicator_ = false;
    bool loaded_ = false;
    std::vector<std::string> titles_;
    float rowHeight_ = kDefaultRowHeight;
    int selected_ = 0;
};

class ScrollView;

class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    // A swipe by the user has come to rest. Never sent for scrolls the program starts.
    virtual void scrollViewDidEndDecelerating(ScrollView& scrollView) = 0;
};

class ScrollView : public View {
public:
    static constexpr double kScrollAnimationSeconds = 0.3;

    ScrollView(Ui& ui, Rect frame);
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }
    Point boundsOrigin() const override { return offset_; }

    void setDelegate(ScrollViewDelegate* d, const std::string& name);
    ScrollViewDelegate* delegate() const { return delegate_; }
    void setBounces(bool on);
    bool bounces() const { return bounces_; }
    void setPagingEnabled(bool on);
    bool pagingEnabled() const { return paging_; }
    void setContentSize(Size s);
    Size contentSize() const { return content_; }

    // Where the content is now (part-way through an animated scroll).
    Point contentOffset() const { return offset_; }
    void setContentOffset(Point p);  // at once
    // Moves the offset just far enough to show `rect`, never beyond the
    // content. Animated: over the following frames, so the offset read right
    // after the call is still the starting one.
    void scrollRectToVisible(Rect rect, bool animated);
    Point maxContentOffset() const;

    // User input, for backends and tests. A drag moves the content at once
    // (with rubber-banding past the ends when bouncing); the release lets it
    // come to rest, on a page when paging is on, and then the delegate hears
    // of it.
    void userDragBy(float dx, float dy);
    void userRelease(float velocityX, float velocityY);
    // A swipe that comes to rest at the page of `restingX` at once.
    void userSwipeTo(Point restingOffset);
    bool userScrolling() const { return userScrolling_; }

    // Called by the animator.
    void animatorSetOffset(Point p) { setDrawn(offset_, p); }
    void animatorUserScrollEnded();

private:
    Point clamp(Point p) const;
    Point pageAligned(Point p, float velocityX) const;
    ScrollViewDelegate* delegate_ = nullptr;
    bool bounces_ = true;
    bool paging_ = false;
    bool userScrolling_ = false;
    Size content_;
    Point offset_;
};

// A chart: lines of points over the view, each point's x and y from 0 to 1
// (x to the right, y upwards), and marks across it at given heights.
class GraphView : public View {
public:
    struct Line {
        std::vector<Point> points;
        Colour colour;
        bool operator==(const Line&) const = default;
    };
    struct Mark {
        float y;
        Colour colour;
        bool operator==(const Mark&) const = default;
    };

    GraphView(Ui& ui, Rect frame);
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }
    const std::vector<Line>& lines() const { return lines_; }
    void setLines(std::vector<Line> lines);
    const std::vector<Mark>& marks() const { return marks_; }
    void setMarks(std::vector<Mark> marks);

private:
    std::vector<Line> lines_;
    std::vector<Mark> marks_;
};

class Window : public View {
public:
    Window(Ui& ui, Rect frame);
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }
    void makeKeyAndVisible();
};

// The first view named `name` in the tree from `root` (itself included,
// depth first), when it is a T: what is on screen, for sessions and tests.
View* findViewNamed(View& root, std::string_view name);
template <class T = View>
T* findView(View& root, std::string_view name) {
    return dynamic_cast<T*>(findViewNamed(root, name));
}

// A touch as the controller sees it: its position in a view's coordinates.
struct Touch {
    Point windowLocation;
    Point locationInView(const View* view) const;
};
using TouchSet = std::vector<Touch>;
struct Event {};

}  // namespace vw::platform
