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
#include <QtGui/private/qguiapplication_p.h>

#include <algorithm>
#include <optional>
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
        if (m_desktopFont)
            *QGuiApplicationPrivate::app_font = *m_desktopFont;
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
        if (!m_desktopFont && m_window->testAttribute(Qt::WA_SetFont))
            lendWindowFont();
        auto *page = static_cast<QWidget *>(watched);
        if (page != m_window && !page->parentWidget() && !page->testAttribute(Qt::WA_SetFont)) {
            page->setFont(m_window->font());
            m_pages.append(page);
        }
        return false;
    }

private:
    // A line edit lays out its empty text in Qt's default font as soon as it is made,
    // before it takes its own: the first would load the desktop's font for that alone.
    // Until the window is built the default is the window's font, set where Qt keeps it:
    // QGuiApplication::setFont() would stop it following the desktop's font from then on.
    // No widget is told; each already has or inherits the font it shows. Qt's lock on it
    // is not taken: no other thread makes a font while the windows are built.
    void lendWindowFont()
    {
        QGuiApplication::font(); // the desktop's, if Qt has not read it yet
        m_desktopFont = std::exchange(*QGuiApplicationPrivate::app_font, m_window->font());
    }

    QWidget *m_window;
    QList<QPointer<QWidget>> m_pages;
    std::optional<QFont> m_desktopFont;
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
