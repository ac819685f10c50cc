#include "fonts.h"

#include "onplatform.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {

QString availableFamily(const QString &requested)
{
    static QHash<QString, QString> resolved;
    if (resolved.isEmpty()) {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    }
    const auto known = resolved.constFind(requested);
    if (known != resolved.cend())
        return *known;
    // The installed families by their own names; hasFamily() would also ask fontconfig
    // for aliases, which costs more than the search it saves.
    const QStringList installed = QFontDatabase::families();
    QString family = requested;
    if (!installed.contains(requested, Qt::CaseInsensitive)) {
        const QStringList substitutes = QFont::substitutes(requested);
        const auto present =
            std::find_if(substitutes.cbegin(), substitutes.cend(), [&installed](const QString &f) {
                return installed.contains(f, Qt::CaseInsensitive);
            });
        if (present != substitutes.cend())
            family = *present; // otherwise Qt's own fallback serves
    }
    resolved.insert(requested, family);
    return family;
}

void useAvailableFamily(QWidget *window)
{
    QFont font = window->font();
    const QString family = availableFamily(font.family());
    if (family == font.family())
        return;
    font.setFamily(family);
    // Qt's GDI font engine on Windows, drawing a stand-in such as Liberation Sans
    // without antialiasing, leaves out its thinnest glyphs under Wine: "!" is not drawn
    // at 8 pt.
    if (OnPlatform("windows"))
        font.setStyleStrategy(QFont::PreferAntialias);
    window->setFont(font); // sends FontChange again, which finds nothing left to do
}

// Sees every FontChange of its window, the desktop's font changing included.
class FamilyKeeper final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FontChange && watched == parent())
            useAvailableFamily(static_cast<QWidget *>(watched));
        return false;
    }
};

// Watches the whole application while a window is built: a widget without a parent that
// is given a child is a page not yet put on its tab.
class PageFonts final : public QObject
{
public:
    explicit PageFonts(QWidget *window) : m_window(window) {}

    ~PageFonts() override
    {
        for (QWidget *page : std::as_const(m_pages)) {
            if (page)
                page->setFont(QFont());
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ChildAdded || !watched->isWidgetType())
            return false;
        auto *page = static_cast<QWidget *>(watched);
        if (page != m_window && !page->parentWidget() && !page->testAttribute(Qt::WA_SetFont)) {
            page->setFont(m_window->font());
            m_pages.append(page);
        }
        return false;
    }

private:
    QWidget *m_window;
    QList<QPointer<QWidget>> m_pages;
};

} // namespace

PagesInWindowFont::PagesInWindowFont(QWidget *window) : m_pageFonts(new PageFonts(window))
{
    qApp->installEventFilter(m_pageFonts);
}

PagesInWindowFont::~PagesInWindowFont()
{
    delete m_pageFonts;
}

void KeepAvailableFamily(QWidget *window)
{
    window->installEventFilter(new FamilyKeeper(window));
}

void UseFontInMenus(const QWidget *window)
{
    QApplication::setFont(window->font(), "QMenu");
}
