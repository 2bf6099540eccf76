#include "import/musicxml/TagListText.h"

#include <vector>

#include "platform/text/FormatText.h"

namespace vornel {

namespace {

constexpr size_t kMaxParameters = 64;

bool NeedsQuotes(std::string_view word) {
  if (word.empty()) return true;
  for (const char c : word) {
    const auto u = static_cast<unsigned char>(c);
    if (c == ' ' || c == '"' || u < 0x20 || u == 0x7F) return true;
  }
  return false;
}

void AppendWord(std::string& out, std::string_view word) {
  if (NeedsQuotes(word)) {
    AppendQuoted(out, word);
  } else {
    out += word;
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The words of one line.
std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size() && words.size() <= kMaxParameters) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] != '"') {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
      words.push_back(std::move(word));
      continue;
    }
    ++i;
    while (i < line.size() && line[i] != '"') {
      if (line[i] != '\\' || i + 1 >= line.size()) {
        word += line[i++];
        continue;
      }
      const char e = line[i + 1];
      i += 2;
      switch (e) {
        case 'n': word += '\n'; break;
        case 'r': word += '\r'; break;
        case 't': word += '\t'; break;
        case 'x':
          if (i + 1 < line.size() && HexDigit(line[i]) >= 0 && HexDigit(line[i + 1]) >= 0) {
            word += static_cast<char>(HexDigit(line[i]) * 16 + HexDigit(line[i + 1]));
            i += 2;
          } else {
            word += 'x';
          }
          break;
        default: word += e; break;
      }
    }
    ++i;  // the closing quote
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace

std::string TagLineText(const vornelelement& element) {
  std::string line;
  AppendWord(line, element.getName());
  for (const Svornelparam& p : element.parameters()) {
    line += ' ';
    AppendWord(line, p ? p->getValue() : std::string());
  }
  return line;
}

std::string TagListToText(const vornelelement& list) {
  std::string text;
  for (const Svornelelement& e : list.elements()) {
    if (!e) continue;
    text += TagLineText(*e);
    text += '\n';
  }
  return text;
}

Svornelelement TagListFromText(std::string_view text, size_t maxElements) {
  Svornelelement list = vornelelement::create("Score");
  size_t count = 0;
  while (!text.empty() && count < maxElements) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || line[first] == '#') continue;
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) continue;
    Svornelelement element = vornelelement::create(words[0]);
    for (size_t i = 1; i < words.size() && i <= kMaxParameters; ++i) element->add(vornelparam::create(words[i], false));
    list->add(element);
    ++count;
  }
  return list;
}

}  // namespace vornel
