// One run of kyctl, from the command line to the exit code: parse (exit 2 on a usage
// error), help and version (which need no library), the checks that the command can do
// anything here (a user's desktop, the monitor it names), the binding of kydoru.dll for
// forms that call it (exit 3 when it or an export is missing), then the run.
#include "platform.h"

namespace kyctl {

namespace {

Request request;  // large (the bytes to send): not on the stack

// What a power command would do, said instead of doing it without --yes.
const char *powerPreview(Action action)
{
    switch (action) {
    case actReboot: return "restart Windows by force (kyPerformReboot); no program can save its work";
    case actSuspend: return "put the machine to sleep by force (kySystemPowerSuspend)";
    case actHibernate: return "hibernate the machine by force (kySystemPowerHibernate)";
    default: return nullptr;
    }
}

}  // namespace

int start(int argc, const char *const *argv)
{
    Parsed parsed = parseArguments(argc, argv, &request);
    if (!parsed.ok) {
        say("%s", parsed.message);
        return exitUsage;
    }
    if (request.action == actVersion || request.action == actHelp) {
        static char buffer[16384];
        Text text = textOver(buffer, sizeof buffer);
        if (request.action == actVersion)
            formatVersion(&text, request.json, KYDORU_VERSION_STRING);
        else
            helpText(request.helpTopic, &text);
        writeText(STD_OUTPUT_HANDLE, text);
        return exitDone;
    }
    if (powerPreview(request.action) && !request.yes) {
        say("would %s; add --yes to do it", powerPreview(request.action));
        return exitUsage;
    }
    char whyText[256];
    Text why = textOver(whyText, sizeof whyText);
    if (request.command->needsDesktop && !systemCalls.userDesktop(&why)) {
        say("%s: no user's desktop to act on: %s; see \"Scheduled tasks\" in kyctl's documentation",
            request.command->name, whyText);
        return exitFailed;
    }
    int monitorCheck = checkPrimaryOnly(request);
    if (monitorCheck != exitDone)
        return monitorCheck;
    static KydoruExports ky;
    if (callsLibrary(request) && !bindLibrary(*request.command, &ky))
        return exitMissing;
    return run(request, ky);
}

}  // namespace kyctl
