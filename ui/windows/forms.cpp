#include "forms.h"

#include "accessibility.h"
#include "focusstyle.h"
#include "fonts.h"
#include "picture.h"
#include "tform1.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"
#include "tform6.h"
#include "tform7.h"
#include "tform8.h"

#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>

#include <array>

TForm1 *Form1 = nullptr;
TForm2 *Form2 = nullptr;
TForm3 *Form3 = nullptr;
TForm4 *Form4 = nullptr;
TForm5 *Form5 = nullptr;
TForm6 *Form6 = nullptr;
TForm7 *Form7 = nullptr;
TForm8 *Form8 = nullptr;

namespace {

// The main window's focused control when it was last hidden.
QPointer<QWidget> focusBeforeHiding;

// The windows' owner while it lives.
Forms *theForms = nullptr;

// The program's icon, built as QIcon(":/icons/app.png") would be (with the @2x drawing
// only on a screen of twice the density or more) but through PngPixmap().
QIcon ProgramIcon()
{
    QIcon icon(PngPixmap(QStringLiteral(":/icons/app.png")));
    if (qRound(qApp->devicePixelRatio()) >= 2)
        icon.addPixmap(PngPixmap(QStringLiteral(":/icons/app@2x.png")));
    return icon;
}

template <typename T>
T *create(std::unique_ptr<T> &owner, T *&global)
{
    owner = std::make_unique<T>();
    global = owner.get();
    return global;
}

// Created hidden; however the user closes it, the main window comes back.
template <typename T>
void createSecondary(std::unique_ptr<T> &owner, T *&global)
{
    SecondaryWindow *window = create(owner, global);
    QObject::connect(window, &SecondaryWindow::dismissed, window,
                     [window] { ReturnToMain(window); });
}

// Makes the secondary windows once the main window has begun its first paint: the timer
// runs when that paint is done.
class AfterFirstPaint final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                Forms::MakeSecondaries();
                deleteLater();
            });
        }
        return false;
    }
};

} // namespace

Forms::Forms(Secondaries when)
{
    theForms = this;
    InstallAccessibility();
    FocusStyle::Install();
    create(m_form1, Form1);
    UseFontInMenus(Form1);
    if (when == Secondaries::AtOnce)
        makeSecondaries();
    else
        Form1->installEventFilter(new AfterFirstPaint(Form1));
}

void Forms::MakeSecondaries()
{
    if (theForms)
        theForms->makeSecondaries();
}

void Forms::makeSecondaries()
{
    if (m_form2)
        return;
    // Reading a PNG first has Qt look through every image-format plugin; the window
    // manager shows the icon when it is set, a moment after the first paint.
    QGuiApplication::setWindowIcon(ProgramIcon());
    createSecondary(m_form2, Form2);
    createSecondary(m_form3, Form3);
    createSecondary(m_form4, Form4);
    createSecondary(m_form5, Form5);
    createSecondary(m_form6, Form6);
    createSecondary(m_form7, Form7);
    createSecondary(m_form8, Form8);
}

Forms::~Forms()
{
    theForms = nullptr;
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
    Form5 = nullptr;
    Form6 = nullptr;
    Form7 = nullptr;
    Form8 = nullptr;
}

void ShowSecondary(QWidget *window)
{
    focusBeforeHiding = Form1->focusWidget();
    window->show();
    window->activateWindow();
    Form1->hide();
}

void ReturnToMain(QWidget *window)
{
    window->hide();
    if (!Form1)
        return;
    Form1->show();
    Form1->activateWindow();
    if (focusBeforeHiding)
        focusBeforeHiding->setFocus(Qt::OtherFocusReason);
}

namespace {

void raise(QWidget *window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

// The secondary window shown, if any: there is never more than one.
QWidget *shownSecondary()
{
    const std::array<QWidget *, 7> secondaries{Form2, Form3, Form4, Form5, Form6, Form7, Form8};
    for (QWidget *window : secondaries) {
        if (window && window->isVisible()) // none is made before the first paint
            return window;
    }
    return nullptr;
}

} // namespace

QWidget *ComeForward()
{
    QWidget *secondary = shownSecondary();
    QWidget *shown = secondary ? secondary : Form1;
    raise(shown);
    return shown;
}

void ReturnAllToMain()
{
    if (QWidget *secondary = shownSecondary())
        ReturnToMain(secondary);
    raise(Form1);
}
