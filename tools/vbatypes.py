"""How VBA and VB6 pass each C type of the exports, written once for the module's writer
(tools/gen_bas.py) and its check (tools/check_bas.py); and the sizes the header gives
for the text buffers an export fills.

A C type maps to (passing, VBA type); "Handle" is LongPtr under VBA7 and Long in VB6.
  int, unsigned int          ByVal Long (an unsigned value arrives in a Long)
  HWND and handle-sized      ByVal Handle; the same for such results
  char *, const char *       ByVal String (VBA passes an ANSI copy and copies it back)
  int *                      ByRef Long
  unsigned char *            ByRef Byte
"""
import re

HANDLES = {"HWND", "HANDLE", "LRESULT", "INT_PTR"}
PARAMS = {
    "int": ("ByVal", "Long"),
    "unsigned int": ("ByVal", "Long"),
    "char *": ("ByVal", "String"),            # a buffer the export fills: see buffer_sizes
    "const char *": ("ByVal", "String"),
    "int *": ("ByRef", "Long"),
    "unsigned char *": ("ByRef", "Byte"),
    "const unsigned char *": ("ByRef", "Byte"),
}
# The C type of a text buffer the export writes into.
BUFFER = "char *"


def normal(ctype):
    """One spelling of a C type: single spaces, the "*" apart ("const char *")."""
    return " ".join(ctype.replace("*", " * ").split())


def param(ctype):
    """(passing, VBA type) of a C parameter type, or None for one VBA has no rule for."""
    ctype = normal(ctype)
    return ("ByVal", "Handle") if ctype in HANDLES else PARAMS.get(ctype)


def result(ctype):
    """The VBA type of a C result: None for void (a Sub), else "Long" or "Handle"."""
    ctype = normal(ctype)
    if ctype == "void":
        return None
    return "Handle" if ctype in HANDLES else "Long"


def split_param(text):
    """(normal C type, name) of one parameter of a prototype."""
    m = re.match(r"^(.*?)(\w+)$", text.strip())
    return normal(m.group(1)), m.group(2)


def buffer_sizes(header):
    """{export: bytes} for each export whose documentation in the public header says its
    buffer "must hold at least N bytes"."""
    sizes = {}
    text = open(header).read()
    for m in re.finditer(r"/\*((?:(?!\*/).)*)\*/\s*((?:KYAPI[^;]*;[ \t]*(?:/\*.*?\*/)?\s*)+)", text, re.S):
        size = re.search(r"must\s+(?:\*\s+)?hold\s+(?:\*\s+)?at\s+(?:\*\s+)?least\s+(?:\*\s+)?(\d+)\s+(?:\*\s+)?bytes",
                         m.group(1))
        if size:
            for name in re.findall(r"KYCALL\s+(\w+)\s*\(", m.group(2)):
                sizes[name] = int(size.group(1))
    return sizes
