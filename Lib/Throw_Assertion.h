#pragma once

#include <exception>
#include <string>

namespace QEV_Lib {

// What a failed check carries out of the program.
class Assertion_Failure : public std::exception {
public:
    Assertion_Failure(const char* expression, const char* message, const char* file, unsigned int line);

    const char* what() const noexcept override;

    std::string m_expression;
    std::string m_message;
    std::string m_file;
    unsigned int m_line;

private:
    std::string m_text;
};

// Reports a failed check by throwing Assertion_Failure; it never returns.
// message and file may be null; line 0 means "no line".
[[noreturn]] void Throw_Assertion(const char* expression, const char* message, const char* file,
                                  unsigned int line);

}
