"""Reading the project's Markdown pages for the checks in tests/docs/: their fenced blocks,
the recipe marks before them, their links and their headings' anchors.

A fenced block in a shell language (sh, bash, shell, console) carries one of these marks,
an HTML comment on the line before it (a blank line may stand between), which a reader of
the rendered page never sees:

  <!-- recipe -->              a recipe begins: a fresh host and home, the block run as written
  <!-- recipe continues -->    the block goes on with the page's previous recipe
  <!-- set-up -->              what every terminal of the page has typed once: each of its
                               recipes, and each second terminal one opens, runs it first
                               (another page's set-up never: a reader may open any page first)
  <!-- not run: REASON -->     shown only (a long build, say); the reason is for the next reader

An sh block is commands only. In a console block a line that starts with "$ " is a command
(a command that ends in a backslash goes on with the next line) and the lines under it are
what it prints: a line "..." stands for any number of lines, and "…" inside a line for any
text; a command with no lines under it is not compared.
"""

import dataclasses
import re

SHELL_LANGUAGES = {"sh", "bash", "shell", "console"}
MARK = re.compile(r"^<!--\s*(recipe continues|recipe|set-up|not run:\s*\S.*?)\s*-->\s*$")
FENCE = re.compile(r"^(```+|~~~+)\s*(.*)$")


class PageError(Exception):
    """A page that breaks the rules above: the message names the file and line."""


@dataclasses.dataclass
class Step:
    line: int  # of the command on its page
    command: str
    expected: list  # the lines shown under it; None when nothing is shown


@dataclasses.dataclass
class Block:
    page: str
    line: int  # of the opening fence
    language: str
    mark: str  # "recipe", "recipe continues", "set-up", "not run: ..." or "" for no mark
    lines: list  # the content, without the fences

    def steps(self):
        if self.language == "console":
            return _console_steps(self)
        return _shell_steps(self)


def _joined(lines, index):
    """The logical line starting at lines[index], and the index after it."""
    text = lines[index]
    while text.endswith("\\") and index + 1 < len(lines):
        index += 1
        text = text + "\n" + lines[index]
    return text, index + 1


def _shell_steps(block):
    steps, index = [], 0
    while index < len(block.lines):
        start = index
        text, index = _joined(block.lines, index)
        if text.strip() and not text.strip().startswith("#"):
            steps.append(Step(block.line + 1 + start, text, None))
    return steps


def _console_steps(block):
    steps, index = [], 0
    while index < len(block.lines):
        start = index
        line = block.lines[index]
        if not line.startswith("$ "):
            if line.strip():
                raise PageError(f"{block.page}:{block.line + 1 + index}: output before any \"$ \" command")
            index += 1
            continue
        text, index = _joined(block.lines, index)
        shown = []
        while index < len(block.lines) and not block.lines[index].startswith("$ "):
            shown.append(block.lines[index].rstrip())
            index += 1
        while shown and not shown[-1]:
            shown.pop()
        steps.append(Step(block.line + 1 + start, text[2:], shown or None))
    return steps


def blocks(page, text):
    """Every fenced block of the page, with the mark before it."""
    found, lines = [], text.split("\n")
    index = 0
    while index < len(lines):
        opening = FENCE.match(lines[index])
        if not opening:
            index += 1
            continue
        fence, info = opening.group(1), opening.group(2).strip()
        start = index
        index += 1
        content = []
        while index < len(lines) and not lines[index].startswith(fence):
            content.append(lines[index])
            index += 1
        if index == len(lines):
            raise PageError(f"{page}:{start + 1}: the block is never closed")
        index += 1
        before = start - 1
        if before >= 0 and not lines[before].strip():
            before -= 1
        mark = MARK.match(lines[before].strip()) if before >= 0 else None
        language = info.split()[0] if info else ""
        found.append(Block(page, start + 1, language, mark.group(1) if mark else "", content))
    return found


def recipes(page, text):
    """The page's recipes, each a list of blocks, in page order. Raises PageError for a shell
    block without a mark or a continuation with nothing to continue."""
    found = []
    for block in blocks(page, text):
        if block.language not in SHELL_LANGUAGES:
            if block.mark:
                raise PageError(f"{page}:{block.line}: a recipe mark on a block that is not sh or console")
            continue
        if not block.mark:
            raise PageError(f"{page}:{block.line}: a {block.language} block without a mark "
                            "(<!-- recipe -->, <!-- recipe continues -->, <!-- set-up --> "
                            "or <!-- not run: REASON -->)")
        if block.mark == "recipe":
            found.append([block])
        elif block.mark == "recipe continues":
            if not found:
                raise PageError(f"{page}:{block.line}: \"recipe continues\" with no recipe before it")
            found[-1].append(block)
    return found


def set_ups(page, text):
    """The page's set-up blocks, in page order."""
    return [block for block in blocks(page, text)
            if block.mark == "set-up" and block.language in SHELL_LANGUAGES]


def prose(text, inline_code=False):
    """The page without its fenced blocks (and its inline code, unless asked to keep it),
    line for line."""
    kept, fence = [], None
    for line in text.split("\n"):
        opening = FENCE.match(line)
        if fence is None and opening:
            fence = opening.group(1)
            kept.append("")
        elif fence is not None:
            if line.startswith(fence):
                fence = None
            kept.append("")
        else:
            kept.append(line if inline_code else re.sub(r"(`+).*?\1", "", line))
    return kept


LINK = re.compile(r"!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")


def links(text):
    """(line number, target) of every inline link and picture outside code."""
    return [(number, match.group(1))
            for number, line in enumerate(prose(text), start=1)
            for match in LINK.finditer(line)]


def anchors(text):
    """The anchors the headings of a page get, as the rendered page names them: lower case,
    punctuation dropped, spaces as hyphens, a repeated one numbered."""
    seen, found = {}, set()
    for line in prose(text, inline_code=True):
        heading = re.match(r"^#{1,6}\s+(.*?)\s*#*\s*$", line)
        if not heading:
            continue
        slug = re.sub(r"[^\w\- ]", "", heading.group(1).lower()).replace(" ", "-")
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        found.add(slug if count == 0 else f"{slug}-{count}")
    return found
