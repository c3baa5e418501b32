// Parsing kyctl's command line by the grammar of the command table's forms: the words
// are scanned (command, positionals, options, window selectors), the form they fit is
// chosen, and each value is checked and stored. Every value from the command line is
// checked here; the platform layer only acts on a request that parsed.
#include <string.h>

#include "cli.h"

namespace kyctl {

namespace {

// ---- the grammar's vocabulary ---------------------------------------------------------

enum ValueKind { valNumber, valChoice, valPort, valTopic, valSendText, valSendHex, valSelector };

// What a placeholder or a choice of words in a grammar stands for, and where it goes.
struct Placeholder {
    const char *name;  // as the grammar writes it: "ALPHA", or the words "hide|show"
    ValueKind kind;
    long long low, high;
    int Request::*field;
    signed char values[6];  // a choice: the number stored for each word, in order
};

const Placeholder placeholders[] = {
    {"ALPHA", valNumber, 0, 255, &Request::alpha, {}},
    {"COUNT", valNumber, 1, 1000, &Request::count, {}},
    {"NUMBER", valNumber, 0, 21, &Request::effect, {}},
    {"INDEX", valNumber, 0, 3, &Request::disk, {}},
    {"SECONDS", valNumber, 1, 3600, &Request::seconds, {}},
    {"RATE", valNumber, 1, 4000000, &Request::baud, {}},
    {"BITS", valNumber, 4, 8, &Request::bits, {}},
    {"N", valNumber, 0, maxReadBytes, &Request::readCount, {}},
    {"MS", valNumber, 1, 600000, &Request::timeoutMs, {}},
    {"M", valNumber, 1, maxMonitors, &Request::monitor, {}},
    {"PORT", valPort, 0, 0, nullptr, {}},
    {"TEXT", valSendText, 0, 0, nullptr, {}},
    {"HEX", valSendHex, 0, 0, nullptr, {}},
    {"COMMAND", valTopic, 0, 0, nullptr, {}},
    {"TARGET", valSelector, 0, 0, nullptr, {}},
    {"SOURCE", valSelector, 0, 0, nullptr, {}},
    {"hide|show", valChoice, 0, 0, &Request::show, {0, 1}},
    {"on|off|toggle", valChoice, 0, 0, &Request::lock, {lockOn, lockOff, lockToggle}},
    {"mouse|datetime", valChoice, 0, 0, &Request::applet, {0, 1}},
    {"black|white|none", valChoice, 0, 0, &Request::blank, {1, 2, 0}},  // the library's blank modes
    {"none|odd|even|mark|space", valChoice, 0, 0, &Request::parity, {0, 1, 2, 3, 4}},  // NOPARITY...
    {"1|1.5|2", valChoice, 0, 0, &Request::stopBits, {0, 1, 2}},  // ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS
};

// Flags that set a field of the request; other flags in a grammar only pick a form.
struct Flag {
    const char *name;
    bool Request::*field;
};
const Flag flags[] = {{"--json", &Request::json}, {"--all", &Request::all}, {"--yes", &Request::yes},
                      {"--hex", &Request::hex}};

// The window selectors, allowed wherever a form takes TARGET.
struct SelectorWord {
    const char *option;
    SelectorKind kind;
    bool takesValue;
};
const SelectorWord selectorWords[] = {
    {"--hwnd", selHandle, true}, {"--title", selTitle, true}, {"--title-contains", selTitleContains, true},
    {"--class", selClass, true}, {"--pid", selPid, true},      {"--exe", selExe, true},
    {"--active", selActive, false},
};
const char matchOption[] = "--match";  // --match exact: * and ? as they are

const Placeholder *findPlaceholder(const char *name, size_t length)
{
    for (const Placeholder &p : placeholders)
        if (strlen(p.name) == length && strncmp(p.name, name, length) == 0)
            return &p;
    return nullptr;
}

const SelectorWord *findSelectorWord(const char *option)
{
    for (const SelectorWord &s : selectorWords)
        if (strcmp(s.option, option) == 0)
            return &s;
    return nullptr;
}

// ---- a form's grammar, read into elements --------------------------------------------

enum ElementKind { elLiteral, elValue, elTarget, elOption };

struct Element {
    ElementKind kind;
    char word[40];   // the literal, the placeholder or choice, or the option's name
    char value[40];  // an option's value ("" for a flag)
    bool optional;
    int group;  // options written as [--a X | --b Y] share a group
};

enum { maxElements = 24, maxPositionals = 8, maxGiven = 32 };

struct Model {
    Element element[maxElements];
    int count;
    int positionalMin, positionalMax;
};

bool copyWord(char *into, const char *from, size_t length)
{
    if (length == 0 || length >= sizeof(Element::word))
        return false;
    memcpy(into, from, length);
    into[length] = '\0';
    return true;
}

bool isPlaceholderWord(const char *word, size_t length)
{
    return length && ((word[0] >= 'A' && word[0] <= 'Z') || memchr(word, '|', length));
}

// Reads a grammar ("NUMBER TARGET [--blank black|white|none] [--all]") into elements.
bool buildModel(const char *grammar, Model *model)
{
    memset(model, 0, sizeof *model);
    bool optional = false;
    int groups = 0;
    const char *p = grammar;
    while (*p) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        if (*p == '[') {
            if (optional)
                return false;
            optional = true;
            ++groups;
            ++p;
            continue;
        }
        if (*p == ']' || (*p == '|' && p[1] == ' ')) {
            if (!optional)
                return false;
            optional = *p == '|';
            ++p;
            continue;
        }
        size_t n = strcspn(p, " []");
        if (model->count == maxElements)
            return false;
        Element &e = model->element[model->count++];
        e.optional = optional;
        e.group = optional ? groups : 0;
        if (!copyWord(e.word, p, n))
            return false;
        p += n;
        if (e.word[0] == '-') {
            e.kind = elOption;
            const char *v = p;
            while (*v == ' ')
                ++v;
            size_t m = strcspn(v, " []");
            if (isPlaceholderWord(v, m)) {
                if (!copyWord(e.value, v, m) || !findPlaceholder(v, m))
                    return false;
                p = v + m;
            }
            continue;
        }
        if (strcmp(e.word, "TARGET") == 0) {
            e.kind = elTarget;
            continue;
        }
        e.kind = isPlaceholderWord(e.word, n) ? elValue : elLiteral;
        if (e.kind == elValue && !findPlaceholder(e.word, n))
            return false;
        model->positionalMax++;
        if (!e.optional)
            model->positionalMin++;
    }
    return !optional;
}

const Element *findOption(const Model &model, const char *name)
{
    for (int i = 0; i < model.count; ++i)
        if (model.element[i].kind == elOption && strcmp(model.element[i].word, name) == 0)
            return &model.element[i];
    return nullptr;
}

bool hasTarget(const Model &model)
{
    for (int i = 0; i < model.count; ++i)
        if (model.element[i].kind == elTarget)
            return true;
    return false;
}

// The i-th positional element (literal or value).
const Element *positionalElement(const Model &model, int index)
{
    for (int i = 0; i < model.count; ++i)
        if ((model.element[i].kind == elLiteral || model.element[i].kind == elValue) && index-- == 0)
            return &model.element[i];
    return nullptr;
}

bool isRequiredFlag(const Element &e)
{
    return e.kind == elOption && !e.optional && !e.value[0];
}

// ---- the words of the line ----------------------------------------------------------

struct Given {
    const char *name, *value;
};

struct Line {
    const char *positional[maxPositionals];
    int positionals;
    Given option[maxGiven];  // form options as given, in order (selectors apart)
    int options;
    Given target, source, match;
    bool help;
};

struct Parser {
    Parsed *result;
    const Command *command;
    Model model[maxForms];
};

// The message, its values escaped, with a pointer to the help that explains.
bool failWith(Parser *p, Text *text)
{
    if (p->command)
        textFormat(text, "; see kyctl help %s", p->command->name);
    else
        textPut(text, "; see kyctl help");
    p->result->ok = false;
    return false;
}

#define FAIL(p, ...)                                                                      \
    do {                                                                                  \
        Text text_ = textOver((p)->result->message, sizeof (p)->result->message);         \
        textFormat(&text_, __VA_ARGS__);                                                  \
        return failWith((p), &text_);                                                     \
    } while (0)

bool isOptionWord(const char *word)
{
    return word[0] == '-' && word[1] && !(word[1] >= '0' && word[1] <= '9');
}

// Whether an option takes a value, by any command's grammar or the selectors; false
// for a word no grammar knows (*known false).
bool optionTakesValue(const char *name, bool *known)
{
    *known = true;
    if (const SelectorWord *s = findSelectorWord(name))
        return s->takesValue;
    if (strcmp(name, matchOption) == 0)
        return true;
    if (strcmp(name, "--json") == 0 || strcmp(name, "--help") == 0 || strcmp(name, "--version") == 0)
        return false;
    for (int c = 0; c < commandCount; ++c)
        for (const Form &form : commands[c].forms) {
            Model model;
            if (form.action == actNone || !buildModel(form.grammar, &model))
                continue;
            if (const Element *e = findOption(model, name))
                return e->value[0] != '\0' && strcmp(e->value, "SOURCE") != 0;
        }
    *known = false;
    return false;
}

bool commandHasOption(const Parser &p, const char *name)
{
    for (int f = 0; f < maxForms; ++f)
        if (p.command->forms[f].action != actNone && findOption(p.model[f], name))
            return true;
    return false;
}

bool commandHasTarget(const Parser &p)
{
    for (int f = 0; f < maxForms; ++f)
        if (p.command->forms[f].action != actNone && hasTarget(p.model[f]))
            return true;
    return false;
}

// Sorts the words after the command into positionals, form options and selectors; a
// selector after --from is the source.
bool scanLine(Parser *p, int argc, const char *const *argv, int commandAt, Line *line)
{
    bool fromPending = false;
    for (int i = 1; i < argc; ++i) {
        const char *word = argv[i];
        if (i == commandAt)
            continue;
        if (!isOptionWord(word)) {
            if (line->positionals == maxPositionals)
                FAIL(p, "too many arguments (\"%s\")", word);
            line->positional[line->positionals++] = word;
            continue;
        }
        if (strcmp(word, "--help") == 0) {
            line->help = true;
            continue;
        }
        bool known = false;
        bool takesValue = optionTakesValue(word, &known);
        if (!known)
            FAIL(p, "unknown option \"%s\"", word);
        const char *value = nullptr;
        if (takesValue) {
            if (i + 1 >= argc)
                FAIL(p, "%s needs a value", word);
            value = argv[++i];
        }
        bool formOption = commandHasOption(*p, word);
        const SelectorWord *selector = formOption ? nullptr : findSelectorWord(word);
        if (selector || strcmp(word, matchOption) == 0) {
            if (!commandHasTarget(*p))
                FAIL(p, "%s: takes no window (%s)", p->command->name, word);
            if (!selector) {
                line->match = {word, value};
                continue;
            }
            Given *into = fromPending ? &line->source : &line->target;
            if (into->name)
                FAIL(p, "%s: give one window selector only (already %s)", word, into->name);
            *into = {word, value};
            fromPending = false;
            continue;
        }
        if (line->options == maxGiven)
            FAIL(p, "too many options (\"%s\")", word);
        line->option[line->options++] = {word, value};
        fromPending = fromPending || strcmp(word, "--from") == 0;  // SOURCE: the selector that follows
    }
    if (fromPending)
        FAIL(p, "--from needs a window selector after it (--hwnd, --title, ...)");
    return true;
}

// ---- choosing the form ----------------------------------------------------------------

bool given(const Line &line, const char *name)
{
    for (int i = 0; i < line.options; ++i)
        if (strcmp(line.option[i].name, name) == 0)
            return true;
    return false;
}

bool literalsFit(const Model &model, const Line &line)
{
    for (int i = 0; i < model.positionalMax; ++i) {
        const Element *e = positionalElement(model, i);
        if (e->kind == elLiteral && (i >= line.positionals || strcmp(line.positional[i], e->word) != 0))
            return false;
    }
    return true;
}

int requiredFlags(const Model &model, const Line &line, int *present)
{
    int count = 0;
    *present = 0;
    for (int i = 0; i < model.count; ++i)
        if (isRequiredFlag(model.element[i])) {
            ++count;
            *present += given(line, model.element[i].word);
        }
    return count;
}

// How badly the line fits a form: options it does not take, a window it does not take,
// and (worse) a count of positionals it does not take.
int misfit(const Model &model, const Line &line)
{
    int score = 0;
    for (int i = 0; i < line.options; ++i)
        score += findOption(model, line.option[i].name) == nullptr;
    if ((line.target.name || line.match.name) && !hasTarget(model))
        ++score;
    if (line.positionals < model.positionalMin || line.positionals > model.positionalMax)
        score += 2;
    return score;
}

// "a, b or c" of the words between separators.
void listWords(Text *text, const char *const *words, int count)
{
    for (int i = 0; i < count; ++i)
        textFormat(text, "%s%s", i == 0 ? "" : i == count - 1 ? " or " : ", ", words[i]);
}

bool chooseForm(Parser *p, const Line &line, int *chosen)
{
    const Command &c = *p->command;
    int forms = 0;
    while (forms < maxForms && c.forms[forms].action != actNone)
        ++forms;

    // A first word that names a form ("mode check", "desktop switch") must be one.
    const char *leading[maxForms];
    int leadingCount = 0;
    bool otherTakesFirst = false;
    for (int f = 0; f < forms; ++f) {
        const Element *first = positionalElement(p->model[f], 0);
        if (first && first->kind == elLiteral) {
            bool again = false;
            for (int i = 0; i < leadingCount; ++i)
                again = again || strcmp(leading[i], first->word) == 0;
            if (!again)
                leading[leadingCount++] = first->word;
        } else if (first || line.positionals == 0) {
            otherTakesFirst = true;
        }
    }
    bool named = false;
    for (int i = 0; i < leadingCount; ++i)
        named = named || (line.positionals && strcmp(leading[i], line.positional[0]) == 0);
    if (leadingCount && !otherTakesFirst) {
        if (!named) {
            char list[128];
            Text words = textOver(list, sizeof list);
            listWords(&words, leading, leadingCount);
            if (line.positionals)
                FAIL(p, "%s: \"%s\" is not %s", c.name, line.positional[0], list);
            FAIL(p, "%s: %s is missing", c.name, list);
        }
    }

    // Among the forms whose words fit: one whose own flags were all given ("effect
    // --desktop", "wait --gone"), else the best fit among those that need no flag.
    int complete[maxForms], completeCount = 0, plain[maxForms], plainCount = 0, flagged[maxForms], flaggedCount = 0;
    for (int f = 0; f < forms; ++f) {
        // A word that names a form leaves out the forms it does not name.
        const Element *first = positionalElement(p->model[f], 0);
        if (!literalsFit(p->model[f], line) || (named && (!first || first->kind != elLiteral)))
            continue;
        int present = 0, count = requiredFlags(p->model[f], line, &present);
        if (count == 0)
            plain[plainCount++] = f;
        else if (present == count)
            complete[completeCount++] = f;
        else
            flagged[flaggedCount++] = f;
    }
    const int *flagForms = completeCount > 1 ? complete : flagged;
    int namedCount = completeCount > 1 ? completeCount : flaggedCount;
    if (completeCount == 1) {
        *chosen = complete[0];
        return true;
    }
    if (completeCount == 0 && plainCount > 0) {
        *chosen = plain[0];
        for (int i = 1; i < plainCount; ++i)
            if (misfit(p->model[plain[i]], line) < misfit(p->model[*chosen], line))
                *chosen = plain[i];
        return true;
    }
    if (namedCount == 1) {
        *chosen = flagForms[0];
        return true;
    }
    if (namedCount == 0)
        FAIL(p, "%s: the words fit none of its forms", c.name);
    // Several forms differ by a flag: say which flags choose between them.
    const char *words[maxForms * 2];
    int wordCount = 0;
    for (int i = 0; i < namedCount; ++i)
        for (int e = 0; e < p->model[flagForms[i]].count; ++e)
            if (isRequiredFlag(p->model[flagForms[i]].element[e]) && wordCount < maxForms * 2)
                words[wordCount++] = p->model[flagForms[i]].element[e].word;
    char list[128];
    Text text = textOver(list, sizeof list);
    listWords(&text, words, wordCount);
    FAIL(p, "%s%s%s: give %s%s", c.name, line.positionals ? " " : "", line.positionals ? line.positional[0] : "",
         list, completeCount > 1 ? ", not both" : "");
}

// ---- storing the values -----------------------------------------------------------------

bool storeValue(Parser *p, const char *title, const char *shownAs, const Placeholder &ph, const char *text,
                Request *r)
{
    char list[128];
    switch (ph.kind) {
    case valNumber: {
        long long value;
        if (!parseInt(text, ph.low, ph.high, &value))
            FAIL(p, "%s \"%s\": not a number from %lld to %lld", shownAs, text, ph.low, ph.high);
        r->*ph.field = static_cast<int>(value);
        return true;
    }
    case valChoice: {
        const char *split[6];
        char copy[40];
        strcpy(copy, ph.name);
        int count = 0;
        for (char *s = copy; s && count < 6; ++count) {
            split[count] = s;
            s = strchr(s, '|');
            if (s)
                *s++ = '\0';
        }
        for (int index = 0; index < count; ++index) {
            if (strcmp(split[index], text) == 0) {
                r->*ph.field = ph.values[index];
                return true;
            }
        }
        Text words = textOver(list, sizeof list);
        listWords(&words, split, count);
        if (shownAs[0] == '-')
            FAIL(p, "%s \"%s\": not %s", shownAs, text, list);
        FAIL(p, "%s: \"%s\" is not %s", title, text, list);
    }
    case valPort:
        if (!parsePort(text, r->port, sizeof r->port))
            FAIL(p, "%s: \"%s\" is not a port name (COM1 to COM255)", title, text);
        return true;
    case valTopic:
        if (!findCommand(text))
            FAIL(p, "%s: no command \"%s\"", title, text);
        r->helpTopic = text;
        return true;
    case valSendText:
        if (!parseSendText(text, r->send, maxSendBytes, &r->sendLength)) {
            if (!text[0] || r->sendLength == maxSendBytes)
                FAIL(p, "%s: the text must give 1 to %d bytes", shownAs, static_cast<int>(maxSendBytes));
            FAIL(p, "%s \"%s\": the escape at character %d is not \\r, \\n, \\t, \\xHH or \\\\", shownAs, text,
                 r->sendLength + 1);
        }
        return true;
    case valSendHex:
        if (!parseHexBytes(text, r->send, maxSendBytes, &r->sendLength))
            FAIL(p, "%s \"%s\": not pairs of hex digits (1 to %d bytes)", shownAs, text,
                 static_cast<int>(maxSendBytes));
        return true;
    default:
        return true;
    }
}

bool storeSelector(Parser *p, const Given &given, bool literal, Selector *into)
{
    const SelectorWord *word = findSelectorWord(given.name);
    into->kind = word->kind;
    into->option = word->option;
    into->literal = literal;
    switch (word->kind) {
    case selHandle:
        switch (parseHandle(given.value, &into->number)) {
        case handleOk:
            return true;
        case handleAmbiguous:
            FAIL(p, "--hwnd \"%s\": ambiguous with a leading zero: write 0x%s for hex (as Spy++ shows handles), "
                    "or the decimal number without the zero",
                 given.value, given.value);
        default:
            FAIL(p, "--hwnd \"%s\": not a window handle (hex 0x1A2B or decimal, not 0)", given.value);
        }
    case selPid: {
        long long pid;
        if (!parseInt(given.value, 1, 0xFFFFFFFFll, &pid))
            FAIL(p, "--pid \"%s\": not a process id (1 to 4294967295)", given.value);
        into->number = static_cast<unsigned long long>(pid);
        return true;
    }
    case selActive:
        return true;
    default:
        if (!given.value[0])
            FAIL(p, "%s: the text is empty", given.name);
        into->text = given.value;
        return true;
    }
}

bool parseForm(Parser *p, const Line &line, int f, Request *r)
{
    const Command &c = *p->command;
    const Model &model = p->model[f];
    char titleText[160];
    Text title = textOver(titleText, sizeof titleText);
    textPut(&title, c.name);
    for (int i = 0; i < model.positionalMax && i < line.positionals; ++i)
        if (positionalElement(model, i)->kind == elLiteral)
            textFormat(&title, " %s", line.positional[i]);
    for (int i = 0; i < model.count; ++i)
        if (isRequiredFlag(model.element[i]))
            textFormat(&title, " %s", model.element[i].word);
    const char *t = titleText;

    for (int i = 0; i < line.options; ++i) {
        const Given &o = line.option[i];
        if (findOption(model, o.name))
            continue;
        if (strcmp(o.name, "--json") == 0)
            FAIL(p, "--json: %s reports nothing", t);
        FAIL(p, "%s: %s does not apply here", t, o.name);
    }
    if ((line.target.name || line.match.name) && !hasTarget(model))
        FAIL(p, "%s: takes no window", t);
    if (line.positionals < model.positionalMin)
        FAIL(p, "%s: %s is missing", t, positionalElement(model, line.positionals)->word);
    if (line.positionals > model.positionalMax)
        FAIL(p, "%s: unexpected argument \"%s\"", t, line.positional[model.positionalMax]);
    for (int i = 0; i < line.options; ++i)
        for (int j = 0; j < i; ++j) {
            const Element *a = findOption(model, line.option[i].name), *b = findOption(model, line.option[j].name);
            if (a == b && strcmp(a->word, "--json") != 0)
                FAIL(p, "%s is given twice", a->word);
            if (a->group && a->group == b->group)
                FAIL(p, "%s: give %s or %s, not both", t, b->word, a->word);
        }
    for (int i = 0; i < model.count; ++i) {
        const Element &e = model.element[i];
        if (e.kind == elOption && !e.optional && !given(line, e.word)) {
            if (e.value[0])
                FAIL(p, "%s: %s %s is required", t, e.word, e.value);
            FAIL(p, "%s: %s is required", t, e.word);
        }
        if (e.kind == elTarget && !e.optional && !line.target.name) {
            // The selectors this command takes (wait's --active is its own flag).
            const char *names[8];
            int count = 0;
            for (const SelectorWord &s : selectorWords)
                if (!commandHasOption(*p, s.option))
                    names[count++] = s.option;
            char list[160];
            Text words = textOver(list, sizeof list);
            listWords(&words, names, count);
            FAIL(p, "%s: no window given (%s)", t, list);
        }
    }
    if (given(line, "--from") && !line.source.name)
        FAIL(p, "%s: --from needs a window selector after it", t);

    // Defaults first, as if given at the front of the line; what was given overrides them.
    char defaults[160];
    strcpy(defaults, c.defaults);
    for (char *name = strtok(defaults, " "); name; name = strtok(nullptr, " ")) {
        char *value = strtok(nullptr, " ");
        const Element *option = findOption(model, name);
        const Placeholder *ph = option ? findPlaceholder(option->value, strlen(option->value))
                                       : findPlaceholder(name, strlen(name));
        if (!ph || !value)
            FAIL(p, "the table's default %s does not apply to %s", name, t);  // a fault of the table
        if (!storeValue(p, t, name, *ph, value, r))
            return false;
    }
    for (int i = 0; i < line.positionals; ++i) {
        const Element *e = positionalElement(model, i);
        if (e->kind == elValue && !storeValue(p, t, e->word, *findPlaceholder(e->word, strlen(e->word)),
                                              line.positional[i], r))
            return false;
    }
    for (int i = 0; i < line.options; ++i) {
        const Element *e = findOption(model, line.option[i].name);
        for (const Flag &flag : flags)
            if (strcmp(flag.name, e->word) == 0)
                r->*flag.field = true;
        if (e->value[0] && line.option[i].value &&
            !storeValue(p, t, e->word, *findPlaceholder(e->value, strlen(e->value)), line.option[i].value, r))
            return false;
    }
    bool literal = false;
    if (line.match.name) {
        if (strcmp(line.match.value, "exact") != 0)
            FAIL(p, "--match \"%s\": the only way is exact", line.match.value);
        literal = true;
    }
    if (line.target.name && !storeSelector(p, line.target, literal, &r->target))
        return false;
    if (line.source.name && !storeSelector(p, line.source, literal, &r->source))
        return false;
    r->action = c.forms[f].action;
    r->command = &c;
    return true;
}

void clearRequest(Request *r)
{
    memset(r, 0, sizeof *r);
    for (const Placeholder &ph : placeholders)
        if (ph.field)
            r->*ph.field = -1;
}

}  // namespace

void valueRanges(const Command &command, Text *out)
{
    const Placeholder *listed[16];
    int count = 0;
    for (const Form &form : command.forms) {
        Model model;
        if (form.action == actNone || !buildModel(form.grammar, &model))
            continue;
        for (int i = 0; i < model.count; ++i) {
            const Element &e = model.element[i];
            const char *name = e.kind == elOption ? e.value : e.word;
            const Placeholder *ph = findPlaceholder(name, strlen(name));
            bool again = false;
            for (int k = 0; k < count; ++k)
                again = again || listed[k] == ph;
            if (!ph || ph->kind != valNumber || again || count == 16)
                continue;
            listed[count++] = ph;
            textFormat(out, "%s%s %lld..%lld", count > 1 ? ", " : "", ph->name, ph->low, ph->high);
        }
    }
}

bool grammarReads(const char *grammar)
{
    Model model;
    return buildModel(grammar, &model);
}

bool formReports(const Form &form)
{
    Model model;
    return buildModel(form.grammar, &model) && findOption(model, "--json");
}

namespace {

bool parseLine(Parser *p, int argc, const char *const *argv, Request *request)
{
    // The command is the first word that is neither an option nor an option's value.
    int commandAt = 0;
    bool version = false, json = false, help = false, other = false;
    for (int i = 1; i < argc; ++i) {
        if (!isOptionWord(argv[i])) {
            commandAt = i;
            break;
        }
        bool known = false;
        bool takesValue = optionTakesValue(argv[i], &known);
        version = version || strcmp(argv[i], "--version") == 0;
        json = json || strcmp(argv[i], "--json") == 0;
        help = help || strcmp(argv[i], "--help") == 0;
        other = other || (strcmp(argv[i], "--version") != 0 && strcmp(argv[i], "--json") != 0);
        i += takesValue;
    }
    if (version) {
        if (commandAt || other)
            FAIL(p, "--version goes alone, or with --json");
        request->action = actVersion;
        request->json = json;
        return true;
    }
    if (!commandAt) {
        if (!help)
            FAIL(p, "no command given");
        request->action = actHelp;
        return true;
    }
    p->command = findCommand(argv[commandAt]);
    if (!p->command)
        FAIL(p, "unknown command \"%s\"", argv[commandAt]);
    for (int f = 0; f < maxForms; ++f)
        if (p->command->forms[f].action != actNone)
            buildModel(p->command->forms[f].grammar, &p->model[f]);

    static Line line;
    memset(&line, 0, sizeof line);
    if (!scanLine(p, argc, argv, commandAt, &line))
        return false;
    if (line.help) {  // `kyctl COMMAND --help` is `kyctl help COMMAND`
        request->action = actHelp;
        request->helpTopic = p->command->name;
        return true;
    }
    int form = 0;
    return chooseForm(p, line, &form) && parseForm(p, line, form, request);
}

}  // namespace

Parsed parseArguments(int argc, const char *const *argv, Request *request)
{
    Parsed result = {true, ""};
    static Parser parser;  // the models of a command's forms: large for a stack
    memset(&parser, 0, sizeof parser);
    parser.result = &result;
    clearRequest(request);
    parseLine(&parser, argc, argv, request);
    return result;
}

}  // namespace kyctl
