// Command lines of the tools: words in order, and options "--name VALUE" or
// "--flag" anywhere among them.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tallow_tools {

// A command line the tool cannot follow; its text says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ParsedArguments {
    std::vector<std::string> words;
    std::map<std::string, std::string> options;  // name without "--" -> value ("" for a flag)

    bool has(const std::string& option) const { return options.count(option) != 0; }
    // The option's value, or `fallback` when it was not given.
    std::string value(const std::string& option, const std::string& fallback = std::string()) const;
    // The option's value as a whole number; raises UsageError for other text.
    long number(const std::string& option, long fallback) const;
};

// Splits `arguments` into words and options: options in `valued` take the
// next argument as their value, options in `flags` take none. An option not
// named in either, or a valued option at the end, raises UsageError.
ParsedArguments parseArguments(const std::vector<std::string>& arguments, const std::set<std::string>& valued,
                               const std::set<std::string>& flags);

// Raises UsageError unless there are exactly `count` words after the command
// word (words[0]); `names` names them for the message ("PROJECTFILE NAME").
void expectWords(const ParsedArguments& parsed, size_t count, const std::string& names);

}  // namespace tallow_tools
