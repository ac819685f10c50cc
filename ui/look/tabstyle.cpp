#include "tabstyle.h"

#include "focusstyle.h"

#include <QTabBar>
#include <QTabWidget>

namespace {

class CompactTabStyle final : public FocusStyle
{
public:
    using FocusStyle::FocusStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 12;
        return FocusStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

void UseCompactTabs(QTabWidget *tabs)
{
    auto *style = new CompactTabStyle(FocusStyle::BaseStyleName());
    style->setParent(tabs);
    tabs->tabBar()->setStyle(style);
}
