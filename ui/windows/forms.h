#pragma once

#include <QPointer>

#include <memory>

class QWidget;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;

// The program's one instance of each window, valid while a Forms object lives.
extern TForm1 *Form1;
extern TForm2 *Form2; // "Введите номер телефона"
extern TForm3 *Form3; // "Неверный номер телефона"
extern TForm4 *Form4; // licence
extern TForm5 *Form5; // author's notes
extern TForm6 *Form6; // database editor placeholder
extern TForm7 *Form7; // "Введите фамилию"
extern TForm8 *Form8; // "Введите название улицы"

// Creates the eight windows in their fixed order, the main window first (creating it
// loads the directory); the other seven start hidden. Destroying it destroys them all.
// The program itself makes the seven as soon as the main window's first picture is
// painted, all at once and in the same order, so that nothing that picture does not need
// delays it; a secondary window asked for before then is made at once. The program's
// icon is given to its windows at the same moment.
class Forms final
{
public:
    enum class Secondaries
    {
        AtOnce,
        AfterFirstPaint,
    };

    explicit Forms(Secondaries when = Secondaries::AtOnce);
    ~Forms();
    Forms(const Forms &) = delete;
    Forms &operator=(const Forms &) = delete;

    // Makes the seven secondary windows, and sets the program's icon, unless done;
    // call before showing one.
    static void MakeSecondaries();

private:
    void makeSecondaries();

    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm4> m_form4;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TForm6> m_form6;
    std::unique_ptr<TForm7> m_form7;
    std::unique_ptr<TForm8> m_form8;
};

// Exactly one window is visible at a time: these move between the main window and a
// secondary one.
void ShowSecondary(QWidget *window);
// Hides `window` and brings the main window back as it was, focus included.
void ReturnToMain(QWidget *window);
// Whichever window is shown comes to the front, minimized no longer, as the desktop asks
// when the program is started again; returns that window.
QWidget *ComeForward();
// Every secondary window shown is closed, as its "Ok" would, and the main window comes
// to the front.
void ReturnAllToMain();
