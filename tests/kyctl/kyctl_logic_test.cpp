// kyctl's pure logic: lines that parse into the right request, bad lines that give a
// usage error naming the fault, the number and text parsers at their edges, and the
// help and docs/cli.md agreeing with the command table.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "../../kyctl/cli.h"

namespace {

using Words = std::vector<const char *>;

kyctl::Parsed parse(Words words, kyctl::Request *request)
{
    words.insert(words.begin(), "kyctl");
    return kyctl::parseArguments(static_cast<int>(words.size()), words.data(), request);
}

TEST(KyctlParser, GoodLinesGiveTheirRequest)
{
    static kyctl::Request r;
    ASSERT_TRUE(parse({"transparent", "--hwnd", "0x1A2B", "230"}, &r).ok);
    EXPECT_EQ(r.action, kyctl::actTransparent);
    EXPECT_EQ(r.target.kind, kyctl::selHandle);
    EXPECT_EQ(r.target.number, 0x1A2Bu);
    EXPECT_EQ(r.alpha, 230);

    ASSERT_TRUE(parse({"flash", "--title", "Untitled - Notepad", "--all"}, &r).ok);
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
    EXPECT_EQ(r.baud, 115200u);
    EXPECT_EQ(r.parity, 2);
    EXPECT_EQ(r.stopBits, 1);
    ASSERT_EQ(r.sendLength, 3);
    EXPECT_EQ(r.send[0], 0x00);
    EXPECT_EQ(r.send[1], 0xFF);
    EXPECT_EQ(r.send[2], 0x7E);
    EXPECT_TRUE(r.json && r.hex);

    ASSERT_TRUE(parse({"serial", "COM12"}, &r).ok);
    EXPECT_EQ(r.baud, 19200u);
    EXPECT_EQ(r.bits, 8);
    EXPECT_EQ(r.timeoutMs, 1000);

    ASSERT_TRUE(parse({"capslock"}, &r).ok);
    EXPECT_EQ(r.action, kyctl::actCapsLockState);
    ASSERT_TRUE(parse({"numlock", "toggle"}, &r).ok);
    EXPECT_EQ(r.lock, kyctl::lockToggle);
    ASSERT_TRUE(parse({"--json", "mode"}, &r).ok);
    EXPECT_TRUE(r.json);
    ASSERT_TRUE(parse({"mode", "set", "--permanent"}, &r).ok);
    EXPECT_EQ(r.action, kyctl::actModePermanent);
    ASSERT_TRUE(parse({"reboot"}, &r).ok) << "parses; main refuses it without --yes";
    EXPECT_FALSE(r.yes);
    ASSERT_TRUE(parse({"disk", "3", "--json"}, &r).ok);
    EXPECT_EQ(r.disk, 3);
    ASSERT_TRUE(parse({"disk"}, &r).ok);
    EXPECT_EQ(r.disk, -1);
    ASSERT_TRUE(parse({"--version"}, &r).ok);
    EXPECT_EQ(r.action, kyctl::actVersion);
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
        {{"transparent", "--hwnd", "0x10", "300"}, "ALPHA \"300\": not a number from 0 to 255"},
        {{"transparent", "--hwnd", "0x10", "-1"}, "ALPHA \"-1\""},
        {{"transparent", "--hwnd", "0x10"}, "missing argument"},
        {{"transparent", "230"}, "no window given"},
        {{"transparent", "--title", "", "230"}, "--title: the text is empty"},
        {{"transparent", "--title-contains", "", "230"}, "--title-contains: the text is empty"},
        {{"transparent", "--hwnd", "0x", "230"}, "--hwnd \"0x\": not a window handle"},
        {{"transparent", "--hwnd", "0", "230"}, "not a window handle"},
        {{"transparent", "--hwnd", "0x1FFFFFFFF", "230"}, "not a window handle"},
        {{"transparent", "--hwnd", "12ab", "230"}, "not a window handle"},
        {{"transparent", "--pid", "-4", "230"}, "--pid \"-4\": not a process id"},
        {{"transparent", "--hwnd", "0x10", "--title", "x", "230"}, "one window selector only"},
        {{"transparent", "--hwnd", "0x10", "230", "--json"}, "--json: transparent reports nothing"},
        {{"transparent", "--hwnd"}, "--hwnd needs a value"},
        {{"flash", "--active", "0"}, "COUNT \"0\""},
        {{"effect", "x", "--active"}, "NUMBER \"x\": not a number from 0 to 21"},
        {{"effect", "22", "--active"}, "NUMBER \"22\""},
        {{"effect", "1", "--active", "--blank", "grey"}, "--blank \"grey\""},
        {{"effect", "1", "--desktop", "--active"}, "--desktop takes no window"},
        {{"copy-effect", "1", "--active"}, "no source window"},
        {{"copy-effect", "1", "--active", "--from"}, "--from needs a window selector"},
        {{"serial", "COM7", "--baud", "fast"}, "--baud \"fast\": not a number"},
        {{"serial", "COM7", "--baud", "0"}, "--baud \"0\""},
        {{"serial", "COM7", "--bits", "9"}, "--bits \"9\""},
        {{"serial", "COM7", "--parity", "maybe"}, "--parity \"maybe\""},
        {{"serial", "COM7", "--stop", "3"}, "--stop \"3\""},
        {{"serial", "COM7", "--send-hex", "0g"}, "--send-hex \"0g\""},
        {{"serial", "COM7", "--send-hex", "abc"}, "--send-hex \"abc\""},
        {{"serial", "COM7", "--send", "a", "--send-hex", "00"}, "not both"},
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
        {{"desktop", "switch"}, "--for SECONDS is required"},
        {{"desktop", "switch", "--for", "0"}, "--for \"0\""},
        {{"mode", "set"}, "give --temporary or --permanent"},
        {{"mode", "set", "--temporary", "--permanent"}, "give --temporary or --permanent"},
        {{"monitor", "on"}, "\"on\" is not off"},
        {{"reboot", "now"}, "unexpected argument \"now\""},
        {{"disk", "4"}, "INDEX \"4\""},
        {{"applet", "printer"}, "\"printer\" is not mouse or datetime"},
        {{"help", "frobnicate"}, "no command \"frobnicate\""},
        {{"--version", "mode"}, "unknown option \"--version\""},
        {{"logo", "--json"}, "--json: logo reports nothing"},
    };
    for (const Case &c : cases) {
        static kyctl::Request r;
        std::string line;
        for (const char *w : c.words)
            line += std::string(w) + " ";
        kyctl::Parsed parsed = parse(c.words, &r);
        EXPECT_FALSE(parsed.ok) << line;
        EXPECT_NE(std::string(parsed.message).find(c.message), std::string::npos)
            << line << "-> " << parsed.message;
        EXPECT_NE(std::string(parsed.message).find("see kyctl help"), std::string::npos) << parsed.message;
    }
}

TEST(KyctlParser, TextParsersAtTheirEdges)
{
    long long n = 0;
    EXPECT_TRUE(kyctl::parseInt("255", 0, 255, &n) && n == 255);
    EXPECT_TRUE(kyctl::parseInt("-7", -10, 10, &n) && n == -7);
    for (const char *bad : {"", "-", "+", "256", "1e3", "12 ", " 12", "0x10", "99999999999999999999999"})
        EXPECT_FALSE(kyctl::parseInt(bad, 0, 255, &n)) << "\"" << bad << "\"";

    unsigned long long h = 0;
    EXPECT_TRUE(kyctl::parseHandle("0xFFFFFFFF", &h) && h == 0xFFFFFFFFull);
    EXPECT_TRUE(kyctl::parseHandle("0Xa0", &h) && h == 0xA0);
    EXPECT_TRUE(kyctl::parseHandle("4096", &h) && h == 4096);
    for (const char *bad : {"0x100000000", "4294967296", "-5", "0x-1", "x10"})
        EXPECT_FALSE(kyctl::parseHandle(bad, &h)) << bad;

    unsigned char bytes[4];
    int length = 0;
    EXPECT_TRUE(kyctl::parseHexBytes("DEadBEef", bytes, 4, &length) && length == 4 && bytes[3] == 0xEF);
    EXPECT_FALSE(kyctl::parseHexBytes("00 11 22 33 44", bytes, 4, &length)) << "more than room";
    EXPECT_FALSE(kyctl::parseHexBytes("   ", bytes, 4, &length)) << "nothing";

    char port[16];
    EXPECT_TRUE(kyctl::parsePort("com255", port, sizeof port));
    EXPECT_STREQ(port, "COM255");
    EXPECT_FALSE(kyctl::parsePort("COM07", port, sizeof port)) << "a leading zero names no device";

    char json[32];
    ASSERT_TRUE(kyctl::jsonString("a\"b\\c\n\x01", 7, json, sizeof json));
    EXPECT_STREQ(json, "\"a\\\"b\\\\c\\u000a\\u0001\"");
    EXPECT_FALSE(kyctl::jsonString("0123456789012345678901234567890", 31, json, sizeof json)) << "too long";

    char hex[16];
    const unsigned char some[] = {0x00, 0x0d, 0xff};
    kyctl::hexText(some, 3, hex, sizeof hex);
    EXPECT_STREQ(hex, "00 0d ff");
}

TEST(KyctlHelp, ListsEveryCommandAndHasAPageForEach)
{
    static char text[8192];
    ASSERT_TRUE(kyctl::helpText(nullptr, text, sizeof text));
    for (const char *name : {"mode", "fullscreen", "transparent", "opaque", "flash", "effect", "copy-effect", "erase",
                             "sweep", "taskbar", "startbutton", "trayclock", "icons", "desktopwindow", "desktop",
                             "capslock", "numlock", "monitor", "reboot", "suspend", "hibernate", "cpu", "disk",
                             "sysdir", "applet", "serial", "clock", "logo", "help"}) {
        EXPECT_NE(std::string(text).find(std::string("\n  ") + name + " "), std::string::npos) << name;
        char page[2048];
        EXPECT_TRUE(kyctl::helpText(name, page, sizeof page)) << name;
        EXPECT_EQ(std::string(page).rfind(std::string("usage: kyctl ") + name, 0), 0u) << page;
    }
    EXPECT_EQ(kyctl::commandCount, 29);
}

// docs/cli.md: each command has an example, and every example line ("> kyctl ...")
// parses. The page is read from the source tree, which the 64-bit test program knows.
#ifdef KYCTL_DOCS_PAGE
std::vector<std::string> splitLine(const std::string &line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any)
                words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        words.push_back(word);
    return words;
}
#endif

TEST(KyctlDocs, EveryCommandHasAnExampleAndEveryExampleParses)
{
#ifndef KYCTL_DOCS_PAGE
    GTEST_SKIP() << "the docs page is checked by the 64-bit program, which knows the source tree";
#else
    FILE *page = fopen(KYCTL_DOCS_PAGE, "r");
    ASSERT_NE(page, nullptr) << KYCTL_DOCS_PAGE;
    std::vector<std::string> examples;
    char line[1024];
    while (fgets(line, sizeof line, page)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        if (text.rfind("> kyctl ", 0) == 0)
            examples.push_back(text.substr(2));
    }
    fclose(page);
    ASSERT_GT(examples.size(), 30u);
    for (int i = 0; i < kyctl::commandCount; ++i) {
        bool found = false;
        for (const std::string &example : examples)
            found = found || splitLine(example).at(1) == kyctl::commands[i].name;
        EXPECT_TRUE(found) << "docs/cli.md has no example of " << kyctl::commands[i].name;
    }
    for (const std::string &example : examples) {
        std::vector<std::string> words = splitLine(example);
        std::vector<const char *> argv;
        for (const std::string &w : words)
            argv.push_back(w.c_str());
        static kyctl::Request r;
        kyctl::Parsed parsed = kyctl::parseArguments(static_cast<int>(argv.size()), argv.data(), &r);
        EXPECT_TRUE(parsed.ok) << example << ": " << parsed.message;
    }
#endif
}

}  // namespace
