// kyctl: every capability of kydoru.dll from the command line. Parse (exit 2 on a usage
// error), bind the DLL beside kyctl.exe (exit 3 when it or an export is missing), then
// find the target, call the export and report (exit 1 when the library reports failure).
#include <stdio.h>

#include "cli.h"
#include "platform.h"

namespace {

kyctl::Request request;  // large (the bytes to send): not on the stack

// What a power command would do, said instead of doing it without --yes.
const char *powerPreview(kyctl::Action action)
{
    switch (action) {
    case kyctl::actReboot: return "restart Windows by force (kyPerformReboot); no program can save its work";
    case kyctl::actSuspend: return "put the machine to sleep by force (kySystemPowerSuspend)";
    case kyctl::actHibernate: return "hibernate the machine by force (kySystemPowerHibernate)";
    default: return nullptr;
    }
}

}  // namespace

int main(int argc, char **argv)
{
    kyctl::Parsed parsed = kyctl::parseArguments(argc, argv, &request);
    if (!parsed.ok) {
        fprintf(stderr, "kyctl: %s\n", parsed.message);
        return kyctl::exitUsage;
    }
    if (request.action == kyctl::actVersion) {
        printf("kyctl %s\n", KYDORU_VERSION_STRING);
        return kyctl::exitDone;
    }
    if (request.action == kyctl::actHelp) {
        static char text[8192];
        kyctl::helpText(request.helpTopic, text, sizeof text);
        fputs(text, stdout);
        return kyctl::exitDone;
    }
    if (powerPreview(request.action) && !request.yes) {
        fprintf(stderr, "kyctl: would %s; add --yes to do it\n", powerPreview(request.action));
        return kyctl::exitUsage;
    }
    static KydoruExports ky;
    if (!kyctl::bindLibrary(&ky))
        return kyctl::exitMissing;
    int code = kyctl::run(request, ky);
    fflush(stdout);
    return code;
}
