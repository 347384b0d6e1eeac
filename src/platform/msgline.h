// Messages on standard error: each one line, "hoopwind: " and the text.
#pragma once

#include <string>

// The line for a text: the prefix, then the text with every line break turned into a space and
// trailing breaks dropped; no newline at the end.
std::string messageLine(const std::string& text);
// Writes messageLine(text) and a newline to standard error in one write.
void printMessageLine(const std::string& text);
