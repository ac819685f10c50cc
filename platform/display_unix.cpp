#include "display.h"

#include <QByteArray>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <utility>

namespace {

void sayNoDisplay()
{
    std::fputs(NoDisplayLine, stderr);
}

struct HeldMessage
{
    QtMsgType type;
    QByteArray category; // null where Qt gave none
    QString text;
};
QList<HeldMessage> heldMessages;
QtMessageHandler qtHandler = nullptr;

// What the display's own libraries write straight to the standard error while the
// connection is made, bypassing Qt (libwayland's "error: XDG_RUNTIME_DIR is invalid or
// not set"), is held in a file too, and said only if it is not all for want of a display.
struct HeldOutput
{
    std::FILE *file = nullptr;
    int standardError = -1; // the real one, while fd 2 writes into `file`
};
HeldOutput heldOutput;

void holdOutput()
{
    std::fflush(stderr);
    heldOutput.file = std::tmpfile();
    if (!heldOutput.file)
        return; // then it goes out as it comes
    heldOutput.standardError = ::dup(STDERR_FILENO);
    if (heldOutput.standardError < 0 || ::dup2(::fileno(heldOutput.file), STDERR_FILENO) < 0) {
        std::fclose(heldOutput.file);
        heldOutput = {};
    }
}

// Puts the standard error back; with `pass`, says what was held there first.
void releaseOutput(bool pass)
{
    if (!heldOutput.file)
        return;
    std::fflush(stderr);
    ::dup2(heldOutput.standardError, STDERR_FILENO);
    ::close(heldOutput.standardError);
    // Said from its start; a file that cannot seek there is dropped, not said in part.
    if (pass && std::fseek(heldOutput.file, 0, SEEK_SET) == 0) {
        char buffer[4096];
        std::size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof buffer, heldOutput.file)) > 0)
            std::fwrite(buffer, 1, read, stderr);
    }
    std::fclose(heldOutput.file);
    heldOutput = {};
}

QMessageLogContext contextOf(const HeldMessage &message)
{
    return {nullptr, 0, nullptr,
            message.category.isNull() ? nullptr : message.category.constData()};
}

// Where libwayland would look for the compositor's socket.
bool waylandSocketExists()
{
    QString socket = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    if (!socket.startsWith(QLatin1Char('/'))) {
        const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (runtimeDir.isEmpty())
            return false;
        socket = runtimeDir + QLatin1Char('/') + socket;
    }
    const QFileInfo found(socket);
    return found.exists() && !found.isDir(); // an empty name leaves only the directory
}

enum class Finding
{
    Nothing,
    NoDisplay, // the plugin could not reach a display
    NoPlugin,  // the plugin asked for is not installed
};

// Qt 6 tells the causes apart only in the warnings before its fatal message.
Finding findingOf(const HeldMessage &message)
{
    if (message.category == "qt.qpa.xcb" &&
        message.text.startsWith(QLatin1String("could not connect to display")))
        return Finding::NoDisplay;
    if (message.text.startsWith(QLatin1String("Failed to create wl_display")))
        return Finding::NoDisplay;
    static const QRegularExpression notFound(
        QStringLiteral(R"re(^Could not find the Qt platform plugin "([^"]*)")re"));
    const QRegularExpressionMatch match = notFound.match(message.text);
    if (message.category != "qt.qpa.plugin" || !match.hasMatch())
        return Finding::Nothing;
    // Without its socket there is no Wayland display to open, plugin or not.
    if (match.captured(1).startsWith(QLatin1String("wayland")) && !waylandSocketExists())
        return Finding::NoDisplay;
    return Finding::NoPlugin;
}

// Only when every platform tried failed for want of a display is that the whole story.
bool displayCouldNotBeOpened()
{
    bool noDisplay = false;
    for (const HeldMessage &message : std::as_const(heldMessages)) {
        const Finding finding = findingOf(message);
        if (finding == Finding::NoPlugin)
            return false;
        noDisplay = noDisplay || finding == Finding::NoDisplay;
    }
    return noDisplay;
}

void say(const HeldMessage &message)
{
    QString line = qFormatLogMessage(message.type, contextOf(message), message.text);
    if (!line.endsWith(QLatin1Char('\n')))
        line += QLatin1Char('\n');
    std::fputs(line.toLocal8Bit().constData(), stderr);
}

// Qt's fatal message would end in an abort and a core dump; the program ends with
// status 1 instead, having said why.
void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const HeldMessage message{type, QByteArray(context.category), text};
    if (type != QtFatalMsg) {
        heldMessages.append(message);
        return;
    }
    const bool noDisplay = displayCouldNotBeOpened();
    releaseOutput(!noDisplay);
    if (noDisplay) {
        sayNoDisplay();
    } else {
        for (const HeldMessage &held : std::as_const(heldMessages))
            say(held);
        say(message);
    }
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

bool DisplayNamed()
{
    const bool named = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
                       !qEnvironmentVariableIsEmpty("DISPLAY") ||
                       !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!named)
        sayNoDisplay();
    return named;
}

void HoldMessagesWhileConnecting()
{
    holdOutput();
    qtHandler = qInstallMessageHandler(holdMessage);
}

void PassHeldMessages()
{
    releaseOutput(true);
    qInstallMessageHandler(qtHandler);
    for (const HeldMessage &message : std::as_const(heldMessages))
        qt_message_output(message.type, contextOf(message), message.text);
    heldMessages.clear();
}
