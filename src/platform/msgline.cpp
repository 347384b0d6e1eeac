// One-line messages on standard error.
#include "platform/msgline.h"

#include <cstdio>

std::string messageLine(const std::string& text) {
    std::string body = text;
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) {
        body.pop_back();
    }
    for (char& c : body) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return "hoopwind: " + body;
}

void printMessageLine(const std::string& text) {
    const std::string line = messageLine(text) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}
