"""Reading C++ text for the checks in scripts/: the code without what the compiler
does not read as code."""

import re

HIDDEN = re.compile(
    r"^[ \t\f\v]*#(?:\\\n|[^\n])*"  # a directive, with its continuation lines
    r"|//[^\n]*"  # a line comment
    r"|/\*(?:.|\n)*?(?:\*/|\Z)"  # a block comment
    r"|(?<!\w)(?:u8|[uUL])?R\"([^()\\ \n]{0,16})\((?:.|\n)*?(?:\)\1\"|\Z)"  # a raw string
    r"|(?<=[^\W_])'(?=[^\W_])"  # a digit separator (1'000), not a character
    r"|\"(?:\\.|[^\"\\\n])*(?:\"|(?=\n)|\Z)"  # a string, to its end or its line's
    r"|'(?:\\.|[^'\\\n])*(?:'|(?=\n)|\Z)",  # a character
    re.M,
)
NOT_A_NEWLINE = re.compile(r"[^\n]")


def blank_out(text):
    """Comments, literals and preprocessor lines become spaces; newlines stay, so line
    numbers stay true."""
    return HIDDEN.sub(lambda hidden: NOT_A_NEWLINE.sub(" ", hidden.group()), text)
