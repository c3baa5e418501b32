// kyctl's pure logic with literal values: lines that parse into the right request, bad
// lines that give a usage error naming the fault, the text parsers and what kyctl prints
// at their edges, and the command table agreeing with help and docs/cli.md.
#include <gtest/gtest.h>

#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

#include "../../kyctl/cli.h"
#include "child.h"

namespace {

using Words = std::vector<const char *>;

kyctl::Parsed parse(Words words, kyctl::Request *request)
{
    words.insert(words.begin(), "kyctl");
    return kyctl::parseArguments(static_cast<int>(words.size()), words.data(), request);
}

std::string bytesOf(const kyctl::Request &r)
{
    return std::string(reinterpret_cast<const char *>(r.send), static_cast<size_t>(r.sendLength));
}

using kyctltest::parseLine;

TEST(KyctlParser, GoodLinesGiveTheirRequest)
{
    static kyctl::Request r;
    ASSERT_TRUE(parse({"transparent", "--hwnd", "0x1A2B", "230"}, &r).ok);
    EXPECT_EQ(r.action, kyctl::actTransparent);
    EXPECT_EQ(r.target.kind, kyctl::selHandle);
    EXPECT_EQ(r.target.number, 0x1A2Bu);
    EXPECT_EQ(r.alpha, 230);

    ASSERT_TRUE(parse({"--title", "Untitled - Notepad", "flash", "--all"}, &r).ok) << "a selector before the command";
    EXPECT_EQ(r.count, 5) << "the default count";
    EXPECT_TRUE(r.all);
    EXPECT_STREQ(r.target.text, "Untitled - Notepad");

    ASSERT_TRUE(parse({"copy-effect", "14", "--class", "Notepad", "--from", "--pid", "4242"}, &r).ok);
    EXPECT_EQ(r.target.kind, kyctl::selClass);
    EXPECT_EQ(r.source.kind, kyctl::selPid);
    EXPECT_EQ(r.source.number, 4242u);
    EXPECT_EQ(r.effect, 14);

    ASSERT_TRUE(parse({"effect", "3", "--desktop", "--blank", "white"}, &r).ok);
    EXPECT_EQ(r.action, kyctl::actEffectDesktop);
    EXPECT_EQ(r.blank, 2);
    ASSERT_TRUE(parse({"effect", "0", "--active"}, &r).ok);
    EXPECT_EQ(r.blank, 1) << "black unless told";

    ASSERT_TRUE(parse({"serial", "com7", "--baud", "115200", "--parity", "even", "--stop", "1.5", "--send-hex",
                       "00 ff 7E", "--read", "3", "--timeout", "250", "--hex", "--json"},
                      &r).ok);
    EXPECT_STREQ(r.port, "COM7");
    EXPECT_EQ(r.baud, 115200);
    EXPECT_EQ(r.parity, 2);
    EXPECT_EQ(r.stopBits, 1);
    EXPECT_EQ(bytesOf(r), std::string("\x00\xff\x7e", 3));
    EXPECT_TRUE(r.json && r.hex);
    ASSERT_TRUE(parse({"serial", "COM12"}, &r).ok);
    EXPECT_EQ(r.baud, 19200);
    EXPECT_EQ(r.bits, 8);
    EXPECT_EQ(r.timeoutMs, 1000);

    ASSERT_TRUE(parse({"wait", "--class", "Notepad", "--active"}, &r).ok) << "--active is wait's flag here";
    EXPECT_EQ(r.action, kyctl::actWaitActive);
    EXPECT_EQ(r.target.kind, kyctl::selClass);

    ASSERT_TRUE(parse({"capslock"}, &r).ok);
    EXPECT_EQ(r.action, kyctl::actCapsLockState);
    ASSERT_TRUE(parse({"numlock", "toggle"}, &r).ok);
    EXPECT_EQ(r.lock, kyctl::lockToggle);
    ASSERT_TRUE(parse({"--json", "mode"}, &r).ok);
    EXPECT_TRUE(r.json);
    ASSERT_TRUE(parse({"mode", "set", "--permanent"}, &r).ok);
    EXPECT_EQ(r.action, kyctl::actModePermanent);
    ASSERT_TRUE(parse({"reboot"}, &r).ok) << "parses; kyctl refuses it without --yes";
    EXPECT_FALSE(r.yes);
    ASSERT_TRUE(parse({"disk", "3", "--json"}, &r).ok);
    EXPECT_EQ(r.disk, 3);
    ASSERT_TRUE(parse({"disk"}, &r).ok);
    EXPECT_EQ(r.disk, -1) << "every disk";
    ASSERT_TRUE(parse({"--version", "--json"}, &r).ok);
    EXPECT_EQ(r.action, kyctl::actVersion);
    EXPECT_TRUE(r.json);
    ASSERT_TRUE(parse({"effect", "--help"}, &r).ok);
    EXPECT_EQ(r.action, kyctl::actHelp);
    EXPECT_STREQ(r.helpTopic, "effect");
}

TEST(KyctlParser, BadLinesAreUsageErrorsThatNameTheFault)
{
    struct Case {
        Words words;
        const char *message;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command \"frobnicate\""},
        {{"mode", "--bogus"}, "unknown option \"--bogus\""},
        {{"mode", "foo"}, "mode: \"foo\" is not check or set"},
        {{"transparent", "--hwnd", "0x10", "300"}, "ALPHA \"300\": not a number from 0 to 255"},
        {{"transparent", "--hwnd", "0x10", "-1"}, "ALPHA \"-1\""},
        {{"transparent", "--hwnd", "0x10"}, "transparent: ALPHA is missing"},
        {{"transparent", "230"}, "no window given (--hwnd, --title, --title-contains, --class, --pid, --exe or --active)"},
        {{"transparent", "--title", "", "230"}, "--title: the text is empty"},
        {{"transparent", "--hwnd", "0x", "230"}, "--hwnd \"0x\": not a window handle"},
        {{"transparent", "--hwnd", "0", "230"}, "not a window handle"},
        {{"transparent", "--hwnd", "0x1FFFFFFFF", "230"}, "not a window handle"},
        {{"transparent", "--hwnd", "12ab", "230"}, "not a window handle"},
        {{"transparent", "--pid", "-4", "230"}, "--pid \"-4\": not a process id"},
        {{"transparent", "--hwnd", "0x10", "--title", "x", "230"}, "one window selector only"},
        {{"transparent", "--hwnd", "0x10", "230", "--json"}, "--json: transparent reports nothing"},
        {{"transparent", "--hwnd", "0x10", "230", "--match", "loose"}, "--match \"loose\""},
        {{"transparent", "--hwnd"}, "--hwnd needs a value"},
        {{"flash", "--active", "0"}, "COUNT \"0\""},
        {{"effect", "x", "--active"}, "NUMBER \"x\": not a number from 0 to 21"},
        {{"effect", "22", "--active"}, "NUMBER \"22\""},
        {{"effect", "1", "--active", "--blank", "grey"}, "--blank \"grey\": not black, white or none"},
        {{"effect", "1", "--desktop", "--active"}, "effect --desktop: takes no window"},
        {{"copy-effect", "1", "--active"}, "--from SOURCE is required"},
        {{"copy-effect", "1", "--active", "--from"}, "--from needs a window selector"},
        {{"wait", "--active"}, "wait --active: no window given (--hwnd, --title, --title-contains, --class, --pid or --exe)"},
        {{"wait", "--title", "x", "--gone", "--active"}, "wait: give --gone or --active, not both"},
        {{"serial", "COM7", "--baud", "fast"}, "--baud \"fast\": not a number"},
        {{"serial", "COM7", "--baud", "0"}, "--baud \"0\""},
        {{"serial", "COM7", "--bits", "9"}, "--bits \"9\""},
        {{"serial", "COM7", "--parity", "maybe"}, "--parity \"maybe\": not none, odd, even, mark or space"},
        {{"serial", "COM7", "--stop", "3"}, "--stop \"3\""},
        {{"serial", "COM7", "--send-hex", "0g"}, "--send-hex \"0g\""},
        {{"serial", "COM7", "--send-hex", "abc"}, "--send-hex \"abc\""},
        {{"serial", "COM7", "--send", "A\\q"}, "--send \"A\\q\": the escape at character 2"},
        {{"serial", "COM7", "--send", ""}, "--send: the text must give 1 to 4096 bytes"},
        {{"serial", "COM7", "--send", "a", "--send-hex", "00"}, "give --send or --send-hex, not both"},
        {{"serial", "COM7", "--read", "70000"}, "--read \"70000\""},
        {{"serial", "COM7", "--timeout", "0"}, "--timeout \"0\""},
        {{"serial", "COM0"}, "\"COM0\" is not a port name"},
        {{"serial", "COM256"}, "is not a port name"},
        {{"serial", "LPT1"}, "is not a port name"},
        {{"serial", "COM7", "--baud", "9600", "--baud", "9600"}, "--baud is given twice"},
        {{"taskbar", "vanish"}, "\"vanish\" is not hide or show"},
        {{"taskbar", "hide", "--hwnd", "0x10"}, "takes no window"},
        {{"capslock", "maybe"}, "is not on, off or toggle"},
        {{"capslock", "on", "--json"}, "--json: capslock reports nothing"},
        {{"desktop"}, "desktop: switch is missing"},
        {{"desktop", "switch"}, "--for SECONDS is required"},
        {{"desktop", "switch", "--for", "0"}, "--for \"0\""},
        {{"mode", "set"}, "mode set: give --temporary or --permanent"},
        {{"mode", "set", "--temporary", "--permanent"}, "give --temporary or --permanent, not both"},
        {{"monitor", "on"}, "\"on\" is not off"},
        {{"mode", "--monitor", "0"}, "--monitor \"0\": not a number from 1 to 32"},
        {{"fullscreen", "cancel", "--monitor", "1"}, "fullscreen cancel: --monitor does not apply here"},
        {{"reboot", "now"}, "unexpected argument \"now\""},
        {{"disk", "4"}, "INDEX \"4\""},
        {{"applet", "printer"}, "\"printer\" is not mouse or datetime"},
        {{"help", "frobnicate"}, "no command \"frobnicate\""},
        {{"--version", "mode"}, "--version goes alone, or with --json"},
        {{"logo", "--json"}, "--json: logo reports nothing"},
        // What the user typed comes back on one line, control characters escaped.
        {{"help", "bad\nname\x1b[31m"}, "no command \"bad\\nname\\x1B[31m\""},
    };
    for (const Case &c : cases) {
        static kyctl::Request r;
        std::string line;
        for (const char *w : c.words)
            line += std::string(w) + " ";
        kyctl::Parsed parsed = parse(c.words, &r);
        EXPECT_FALSE(parsed.ok) << line;
        EXPECT_NE(std::string(parsed.message).find(c.message), std::string::npos) << line << "-> " << parsed.message;
        EXPECT_NE(std::string(parsed.message).find("see kyctl help"), std::string::npos) << parsed.message;
        EXPECT_EQ(std::string(parsed.message).find_first_of("\r\n\x1b"), std::string::npos) << parsed.message;
    }
}

TEST(KyctlParser, TextParsersAtTheirEdges)
{
    long long n = 0;
    EXPECT_TRUE(kyctl::parseInt("255", 0, 255, &n) && n == 255);
    EXPECT_TRUE(kyctl::parseInt("-7", -10, 10, &n) && n == -7);
    for (const char *bad : {"", "-", "+", "256", "1e3", "12 ", " 12", "0x10", "99999999999999999999999"})
        EXPECT_FALSE(kyctl::parseInt(bad, 0, 255, &n)) << "\"" << bad << "\"";

    const struct {
        const char *text;
        kyctl::HandleVerdict verdict;
        unsigned long long value;
    } handles[] = {
        {"0xFFFFFFFF", kyctl::handleOk, 0xFFFFFFFF}, {"0Xa0", kyctl::handleOk, 0xA0},
        {"4096", kyctl::handleOk, 4096},             {"0x00051234", kyctl::handleOk, 0x51234},
        {"00051234", kyctl::handleAmbiguous, 0},     {"0A0B", kyctl::handleAmbiguous, 0},
        {"0", kyctl::handleBad, 0},                  {"0x100000000", kyctl::handleBad, 0},
        {"4294967296", kyctl::handleBad, 0},         {"-5", kyctl::handleBad, 0},
        {"0x-1", kyctl::handleBad, 0},               {"x10", kyctl::handleBad, 0},
    };
    for (const auto &h : handles) {
        unsigned long long value = 0;
        EXPECT_EQ(kyctl::parseHandle(h.text, &value), h.verdict) << h.text;
        if (h.verdict == kyctl::handleOk) {
            EXPECT_EQ(value, h.value) << h.text;
        }
    }

    unsigned char bytes[4];
    int length = 0;
    EXPECT_TRUE(kyctl::parseHexBytes("DEadBEef", bytes, 4, &length) && length == 4 && bytes[3] == 0xEF);
    EXPECT_FALSE(kyctl::parseHexBytes("00 11 22 33 44", bytes, 4, &length)) << "more than room";
    EXPECT_FALSE(kyctl::parseHexBytes("   ", bytes, 4, &length)) << "nothing";
    EXPECT_FALSE(kyctl::parseSendText("abcde", bytes, 4, &length)) << "more than room";
    EXPECT_FALSE(kyctl::parseSendText("a\\", bytes, 4, &length)) << "a lone backslash at the end";

    char port[16];
    EXPECT_TRUE(kyctl::parsePort("com255", port, sizeof port));
    EXPECT_STREQ(port, "COM255");
    EXPECT_FALSE(kyctl::parsePort("COM07", port, sizeof port)) << "a leading zero names no device";
}

TEST(KyctlParser, WildcardsMatchWholeCharacters)
{
    const struct {
        const wchar_t *pattern, *text;
        bool match;
    } cases[] = {
        {L"NOTE*.EXE", L"NOTEPAD.EXE", true}, {L"*.EXE", L"CALC.COM", false}, {L"*", L"", true},
        {L"?", L"", false},                   {L"A?C", L"AC", false},        {L"*A*B*", L"XAYYB", true},
        {L"*AB", L"AAB", true},
        {L"\x041F\x0440*", L"\x041F\x0440\x0438\x0432\x0435\x0442", true},  // Привет
        {L"x?y", L"x\xD83D\xDE00y", true},       // one ? for an emoji outside the BMP
        {L"x??y", L"x\xD83D\xDE00y", false},
        {L"**?", L"\xD83D\xDE00", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kyctl::wildcardMatch(c.pattern, c.text), c.match)
            << testing::PrintToString(std::wstring(c.pattern)) << " " << testing::PrintToString(std::wstring(c.text));
    EXPECT_TRUE(kyctl::hasWildcard("a*"));
    EXPECT_FALSE(kyctl::hasWildcard("Untitled - Notepad"));
}

std::string made(const std::function<void(kyctl::Text *)> &write, size_t room = 512)
{
    std::vector<char> buffer(room);
    kyctl::Text text = kyctl::textOver(buffer.data(), buffer.size());
    write(&text);
    return std::string(buffer.data(), text.used);
}

TEST(KyctlFormat, TextAndJsonOfEachReport)
{
    using kyctl::Text;
    const kyctl::DiskRecord disks[] = {{0, "ST3500418AS", "     5VM1ABCD", "CC38"}, {2, "Mod\"el", "\x01", ""}};
    const unsigned char bytes[] = {'q', '"', 0x00, 0xff, '\n'};
    const kyctl::WindowRecord window = {0x51234, "Привет мир — 日本語 ☕", "Notepad", "notepad.exe", 4242};
    const kyctl::WindowRecord unknown = {0x10, "", "X", nullptr, 7};
    // A monitor left of the primary whose depth and DPI are not known (the two-monitor
    // test display's listing is checked end to end).
    const kyctl::MonitorRecord monitor = {
        2, "\\\\.\\DISPLAY2", false, {-1280, -200, 0, 824}, {-1280, -200, 0, 824}, {1280, 1024, 0, 0, true}, 0};
    const struct {
        std::string got;
        const char *want;
    } cases[] = {
        {made([](Text *t) { kyctl::formatMode(t, false, {800, 600, 16, 1}); }),
         "800x600, 16 bits per pixel, default refresh rate\n"},
        {made([&](Text *t) { kyctl::formatMonitors(t, true, &monitor, 1); }, 1024),
         "[{\"index\":2,\"device\":\"\\\\\\\\.\\\\DISPLAY2\",\"primary\":false,"
         "\"rectangle\":{\"left\":-1280,\"top\":-200,\"right\":0,\"bottom\":824},"
         "\"workArea\":{\"left\":-1280,\"top\":-200,\"right\":0,\"bottom\":824},"
         "\"mode\":{\"width\":1280,\"height\":1024,\"bitsPerPixel\":null,\"refreshRate\":null},\"dpi\":null}]\n"},
        {made([&](Text *t) { kyctl::formatMonitors(t, false, &monitor, 1); }, 1024),
         "monitor 2\n  device     \\\\.\\DISPLAY2\n  rectangle  (-1280,-200)-(0,824)\n"
         "  work area  (-1280,-200)-(0,824)\n  mode       1280x1024, colour depth and refresh rate unknown\n"
         "  dpi        unknown\n"},
        {made([](Text *t) { kyctl::formatModeCheck(t, true, -2); }),
         "{\"mode\":\"1024x768x32\",\"accepted\":false,\"code\":-2}\n"},
        {made([](Text *t) { kyctl::formatLockState(t, true, false, true); }), "{\"numLock\":true}\n"},
        {made([](Text *t) { kyctl::formatCpu(t, false, 2400); }), "2400 MHz\n"},
        {made([](Text *t) { kyctl::formatCpu(t, true, 4294967295u); }), "{\"mhz\":4294967295}\n"},
        {made([&](Text *t) { kyctl::formatDisks(t, true, disks, 2); }),
         "[{\"index\":0,\"model\":\"ST3500418AS\",\"serial\":\"     5VM1ABCD\",\"revision\":\"CC38\"},"
         "{\"index\":2,\"model\":\"Mod\\\"el\",\"serial\":\"\\u0001\",\"revision\":\"\"}]\n"},
        {made([&](Text *t) { kyctl::formatDisks(t, false, disks, 1); }),
         "disk 0\n  model     ST3500418AS\n  serial         5VM1ABCD\n  revision  CC38\n"},
        {made([&](Text *t) { kyctl::formatSerial(t, kyctl::serialHex, "COM7", 0, bytes, 0); }), ""},
        {made([&](Text *t) { kyctl::formatWindow(t, true, window); }),
         "{\"handle\":\"0x51234\",\"title\":\"Привет мир — 日本語 ☕\",\"class\":\"Notepad\",\"pid\":4242,"
         "\"exe\":\"notepad.exe\"}\n"},
        {made([&](Text *t) { kyctl::formatWindow(t, true, unknown); }),
         "{\"handle\":\"0x10\",\"title\":\"\",\"class\":\"X\",\"pid\":7,\"exe\":null}\n"},
        {made([&](Text *t) { kyctl::formatWindow(t, false, window); }), "0x51234 notepad.exe \"Привет мир — 日本語 ☕\"\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.got, c.want);
    // The serial text form is the bytes themselves, a zero byte included.
    EXPECT_EQ(made([&](Text *t) { kyctl::formatSerial(t, kyctl::serialText, "COM7", 1, bytes, 5); }),
              std::string("q\"\0\xff\n", 5));
}

// The primary comes first wherever Windows lists it; the others keep Windows' order.
TEST(KyctlFormat, MonitorsAreNumberedPrimaryFirst)
{
    // As Windows lists A, B, C: which is primary ('P'), and the order numbered 1, 2, 3.
    const char *const cases[][2] = {{"-P-", "BAC"}, {"P--", "ABC"}, {"--P", "CAB"}, {"---", "ABC"}};
    for (const auto &c : cases) {
        kyctl::MonitorRecord list[3] = {};
        for (int i = 0; i < 3; ++i) {
            list[i].device = &"A\0B\0C"[i * 2];
            list[i].primary = c[0][i] == 'P';
        }
        kyctl::numberMonitors(list, 3);
        std::string order;
        for (int i = 0; i < 3; ++i) {
            order += list[i].device;
            EXPECT_EQ(list[i].index, i + 1) << c[1];
        }
        EXPECT_EQ(order, c[1]);
    }
}

TEST(KyctlFormat, JsonIsValidUtf8AndMessagesStayOnOneLine)
{
    using kyctl::Text;
    const struct {
        std::string in, json, shown;
    } cases[] = {
        {"a\"b\\c\n\x01", "\"a\\\"b\\\\c\\u000a\\u0001\"", "a\"b\\c\\n\\x01"},
        {"Привет ☕ 😀", "\"Привет ☕ 😀\"", "Привет ☕ 😀"},
        {"caf\xe9", "\"caf\\ufffd\"", "caf\\xE9"},               // cp1252 é is not UTF-8
        {"\xc0\xaf", "\"\\ufffd\\ufffd\"", "\\xC0\\xAF"},        // an overlong '/'
        {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\"", "\\xED\\xA0\\x80"},  // a surrogate
        {"\xe2\x82", "\"\\ufffd\\ufffd\"", "\\xE2\\x82"},        // cut short
        {"\x1b[2J\x7f\xc2\x85", "\"\\u001b[2J\\u007f\xc2\x85\"", "\\x1B[2J\\x7F\\u0085"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(made([&](Text *t) { kyctl::jsonString(t, c.in.data(), c.in.size()); }), c.json) << c.in;
        EXPECT_EQ(made([&](Text *t) { kyctl::escapeText(t, c.in.data(), c.in.size()); }), c.shown) << c.in;
    }
    EXPECT_EQ(made([](Text *t) { kyctl::textFormat(t, "%d %u %lu %lld %llu %llX %lX %%", -42, 7u, 8ul, -9ll,
                                                    18446744073709551615ull, 0x1A2Bull, 0xFFul); }),
              "-42 7 8 -9 18446744073709551615 1A2B FF %");
    char small[8];
    Text full = kyctl::textOver(small, sizeof small);
    kyctl::textPut(&full, "0123456789");
    EXPECT_TRUE(full.full);
    EXPECT_EQ(full.used, 0u) << "what does not fit is left out, never cut";
}

TEST(KyctlTable, EveryRowReadsAndHelpListsIt)
{
    char list[16384];
    kyctl::Text listText = kyctl::textOver(list, sizeof list);
    ASSERT_TRUE(kyctl::helpText(nullptr, &listText));
    ASSERT_FALSE(listText.full);
    for (int i = 0; i < kyctl::commandCount; ++i) {
        const kyctl::Command &c = kyctl::commands[i];
        EXPECT_EQ(kyctl::findCommand(c.name), &c) << c.name << ": one row per name";
        EXPECT_NE(std::string(list).find(std::string("\n  ") + c.name + " "), std::string::npos) << c.name;
        char page[4096];
        kyctl::Text pageText = kyctl::textOver(page, sizeof page);
        EXPECT_TRUE(kyctl::helpText(c.name, &pageText)) << c.name;
        EXPECT_EQ(std::string(page).rfind(std::string("usage: kyctl ") + c.name, 0), 0u) << page;
        EXPECT_NE(std::string(page).find(c.example), std::string::npos) << c.name << ": the page shows the example";
        for (const kyctl::Form &form : c.forms) {
            if (form.action != kyctl::actNone) {
                EXPECT_TRUE(kyctl::grammarReads(form.grammar)) << c.name << " " << form.grammar;
            }
        }
        // The example parses, and with it the row's defaults (a default that fits no
        // option of the form is a usage error).
        static kyctl::Request r;
        kyctl::Parsed parsed = parseLine(c.example, &r);
        EXPECT_TRUE(parsed.ok) << c.example << ": " << parsed.message;
        EXPECT_EQ(r.command, &c) << c.example;
    }
    static kyctl::Request r;
    ASSERT_TRUE(parseLine("kyctl serial COM1", &r).ok);
    char ranges[128];
    kyctl::Text rangeText = kyctl::textOver(ranges, sizeof ranges);
    kyctl::valueRanges(*r.command, &rangeText);
    EXPECT_STREQ(ranges, "RATE 1..4000000, BITS 4..8, N 0..65536, MS 1..600000") << "help's ranges, from the grammar";
}

// docs/cli.md: each row's example is on the page, and every example line there
// ("> kyctl ...") parses. The page is read from the source tree, which the 64-bit test
// program knows.
TEST(KyctlDocs, EveryCommandHasItsExampleAndEveryExampleParses)
{
#ifndef KYCTL_DOCS_PAGE
    GTEST_SKIP() << "the docs page is checked by the 64-bit program, which knows the source tree";
#else
    FILE *page = fopen(KYCTL_DOCS_PAGE, "r");
    ASSERT_NE(page, nullptr) << KYCTL_DOCS_PAGE;
    std::vector<std::string> examples;
    std::string all;
    char line[1024];
    while (fgets(line, sizeof line, page)) {
        std::string text(line);
        all += text;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        if (text.rfind("> kyctl ", 0) == 0)
            examples.push_back(text.substr(2));
    }
    fclose(page);
    for (int i = 0; i < kyctl::commandCount; ++i) {
        bool found = false;
        for (const std::string &example : examples)
            found = found || example == kyctl::commands[i].example;
        EXPECT_TRUE(found) << "docs/cli.md lacks the example \"> " << kyctl::commands[i].example << "\"";
    }
    EXPECT_NE(all.find(KYCTL_WAY_BACK_KEYS), std::string::npos) << "the page names the way back from the desktop";
    // The commands a task without the user's desktop can run, as the page lists them.
    size_t from = all.find("(all but "), to = all.find(")", from);
    ASSERT_NE(from, std::string::npos) << "the page lists the commands that need no desktop";
    std::string listed = all.substr(from, to - from);
    for (int i = 0; i < kyctl::commandCount; ++i)
        EXPECT_EQ(listed.find(std::string("`") + kyctl::commands[i].name + "`") != std::string::npos,
                  !kyctl::commands[i].needsDesktop)
            << kyctl::commands[i].name;
    for (const std::string &example : examples) {
        static kyctl::Request r;
        kyctl::Parsed parsed = parseLine(example, &r);
        EXPECT_TRUE(parsed.ok) << example << ": " << parsed.message;
    }
#endif
}

}  // namespace
