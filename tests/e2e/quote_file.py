"""An independent reading of a quote file, to know what the window must show:
lines end at CR LF (or a lone CR), a line starting with "***" closes the
quote written above it."""


def read_quotes(path):
    with open(path, "rb") as quote_file:
        data = quote_file.read()
    text = data.decode("utf-8")
    lines = text.replace("\r\n", "\r").split("\r")
    if lines and lines[-1] == "":
        lines.pop()  # the terminator of the last line adds no line
    quotes = []
    current = []
    for line in lines:
        if line.startswith("***"):
            quotes.append(current)
            current = []
        else:
            current.append(line)
    return quotes


def display_text(quote_lines):
    """What the quote label shows: the lines, one under the other."""
    return "\n".join(quote_lines)


def write_quote_file(path, lines):
    """A quote file as the program's users write them: CR LF after each line."""
    with open(path, "wb") as quote_file:
        quote_file.write("".join(line + "\r\n" for line in lines).encode())


def numbered_quotes(line_count):
    """line_count lines of one-line quotes, each closed by its "***" line."""
    return ["***" if index % 2 else f"Quote {index // 2 + 1}" for index in range(line_count)]
