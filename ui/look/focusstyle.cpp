#include "focusstyle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace {

constexpr int FrameWidth = 2;
// A line of a control's face just inside its frame.
constexpr int LiningWidth = 1;
constexpr qreal FrameContrast = 3.0;

qreal luminance(const QColor &colour)
{
    const auto linear = [](qreal v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

void drawRing(QPainter *painter, const QRect &rect, int width, const QColor &colour)
{
    const int inner = rect.height() - 2 * width;
    painter->fillRect(rect.left(), rect.top(), rect.width(), width, colour);
    painter->fillRect(rect.left(), rect.bottom() - width + 1, rect.width(), width, colour);
    painter->fillRect(rect.left(), rect.top() + width, width, inner, colour);
    painter->fillRect(rect.right() - width + 1, rect.top() + width, width, inner, colour);
}

// With a lining, the frame touches only that colour inside, whatever lies under it.
void drawFrame(QPainter *painter, const QRect &rect, const QColor &colour,
               const QColor &lining = QColor())
{
    const int thickness = FrameWidth + (lining.isValid() ? LiningWidth : 0);
    if (rect.width() <= 2 * thickness || rect.height() <= 2 * thickness)
        return;
    drawRing(painter, rect, FrameWidth, colour);
    if (lining.isValid())
        drawRing(painter, rect.adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth),
                 LiningWidth, lining);
}

// A control's frame borders on the window outside and, lined with the control's face, on
// that face alone inside: not on what the base style draws at the control's edge, which
// differs from one Qt to the next (Fusion tints a default button's face towards
// Highlight, draws a combo box's arrow button in Button, and Qt 6.8's outlines a scroll
// bar's arrows and handle in grey, 2:1 against Highlight).
void drawFocusedBorder(QPainter *painter, const QStyleOption *option, QPalette::ColorRole face)
{
    if (!(option->state & QStyle::State_HasFocus))
        return;
    const QPalette &palette = option->palette;
    drawFrame(
        painter, option->rect,
        FocusStyle::FrameColour(palette, {palette.color(face), palette.color(QPalette::Window)}),
        palette.color(face));
}

// A scroll area that takes the focus and has no item of its own to show it on.
bool showsFocusOnFrame(const QWidget *widget)
{
    return qobject_cast<const QAbstractScrollArea *>(widget) &&
           widget->focusPolicy() != Qt::NoFocus && !qobject_cast<const QAbstractItemView *>(widget);
}

} // namespace

FocusStyle::FocusStyle(const QString &baseStyle) : QProxyStyle(baseStyle) {}

void FocusStyle::Install()
{
    if (!qobject_cast<FocusStyle *>(QApplication::style()))
        QApplication::setStyle(new FocusStyle(QApplication::style()->name()));
}

QString FocusStyle::BaseStyleName()
{
    const QStyle *style = QApplication::style();
    if (const auto *proxy = qobject_cast<const QProxyStyle *>(style))
        style = proxy->baseStyle();
    return style->name();
}

qreal FocusStyle::Contrast(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor FocusStyle::FrameColour(const QPalette &palette, std::initializer_list<QColor> backgrounds)
{
    const auto weakest = [backgrounds](const QColor &colour) {
        qreal least = 21;
        for (const QColor &background : backgrounds)
            least = std::min(least, Contrast(colour, background));
        return least;
    };
    const QColor highlight = palette.color(QPalette::Highlight);
    if (weakest(highlight) >= FrameContrast)
        return highlight;
    QColor best = highlight;
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::HighlightedText}) {
        const QColor candidate = palette.color(role);
        if (weakest(candidate) > weakest(best))
            best = candidate;
    }
    return best;
}

int FocusStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                            const QWidget *widget) const
{
    // A text view's frame, where its focus shows, is as wide as any other focus frame, with
    // room for its lining.
    if (metric == PM_DefaultFrameWidth && showsFocusOnFrame(widget))
        return FrameWidth + LiningWidth;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void FocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                               QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case PE_FrameFocusRect: {
        // Drawn however the focus came, by key or by click: whoever looks for it finds it.
        const auto *focus = qstyleoption_cast<const QStyleOptionFocusRect *>(option);
        QColor background = focus ? focus->backgroundColor : QColor();
        if (!background.isValid())
            background =
                option->palette.color(widget ? widget->backgroundRole() : QPalette::Window);
        // A picture's art may reach its edge.
        drawFrame(painter, option->rect, FrameColour(option->palette, {background}),
                  qobject_cast<const QLabel *>(widget) ? background : QColor());
        return;
    }
    case PE_FrameLineEdit:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        drawFocusedBorder(painter, option, QPalette::Base);
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                             const QWidget *widget) const
{
    // The common style frames a focused tab's label through its own focus rectangle, not
    // through ours, so the label is drawn without the focus and framed here.
    const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option);
    if (element == CE_TabBarTabLabel && tab && (tab->state & State_HasFocus)) {
        QStyleOptionTab label = *tab;
        label.state &= ~State_HasFocus;
        QProxyStyle::drawControl(element, &label, painter, widget);
        const int inset = 1 + pixelMetric(PM_DefaultFrameWidth, option, widget);
        const QPalette &palette = option->palette;
        drawFrame(painter, option->rect.adjusted(2, inset, -2, -inset),
                  FrameColour(palette,
                              {palette.color(QPalette::Window), palette.color(QPalette::Button)}));
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
    // Windows' themed header draws no line under itself, so a grid's header and its
    // first row, white both, ran together: the grid's own line is drawn there.
    const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option);
    if (element == CE_HeaderSection && header && header->orientation == Qt::Horizontal &&
        baseStyle()->name().compare(QLatin1String("windowsvista"), Qt::CaseInsensitive) == 0) {
        const auto grid = static_cast<QRgb>(styleHint(SH_Table_GridLineColor, option, widget));
        const QRect &r = option->rect;
        painter->fillRect(r.left(), r.bottom(), r.width(), 1, QColor::fromRgba(grid));
    }
    // A button's own focus mark is a faint outline, and only after a key was pressed.
    if (element == CE_PushButton)
        drawFocusedBorder(painter, option, QPalette::Button);
    // The licence's and the author's text views: their frame is the one place to show it.
    if (element == CE_ShapedFrame && showsFocusOnFrame(widget))
        drawFocusedBorder(painter, option, QPalette::Base);
}

void FocusStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                    QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ComboBox)
        drawFocusedBorder(painter, option, QPalette::Base);
}
