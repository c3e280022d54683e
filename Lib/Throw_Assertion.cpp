#include "Throw_Assertion.h"

namespace QEV_Lib {

namespace {

std::string Text_Or_Empty(const char* text) { return text ? text : ""; }

}

Assertion_Failure::Assertion_Failure(const char* expression, const char* message, const char* file,
                                     unsigned int line)
    : m_expression(Text_Or_Empty(expression)), m_message(Text_Or_Empty(message)),
      m_file(Text_Or_Empty(file)), m_line(line) {
    // The message, when there is one, is what a user needs; the check itself
    // follows for whoever has to find it in the source.
    std::string check = "check ";
    check.append(m_expression).append(" failed in ").append(m_file);
    if (m_line != 0)
        check.append(":").append(std::to_string(m_line));
    if (m_message.empty())
        m_text = check;
    else
        m_text.append(m_message).append(" (").append(check).append(")");
}

const char* Assertion_Failure::what() const noexcept { return m_text.c_str(); }

void Throw_Assertion(const char* expression, const char* message, const char* file, unsigned int line) {
    throw Assertion_Failure(expression, message, file, line);
}

}
