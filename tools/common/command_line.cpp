#include "command_line.h"

#include <cerrno>
#include <cstdlib>

namespace tallow_tools {

std::string ParsedArguments::value(const std::string& option, const std::string& fallback) const
{
    const auto found = options.find(option);
    return found != options.end() ? found->second : fallback;
}

long ParsedArguments::number(const std::string& option, long fallback) const
{
    const auto found = options.find(option);
    if (found == options.end()) return fallback;
    const std::string& text = found->second;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE)
        throw UsageError("--" + option + " takes a whole number, not \"" + text + "\"");
    return value;
}

ParsedArguments parseArguments(const std::vector<std::string>& arguments, const std::set<std::string>& valued,
                               const std::set<std::string>& flags)
{
    ParsedArguments parsed;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() < 3 || argument.compare(0, 2, "--") != 0) {
            parsed.words.push_back(argument);
            continue;
        }
        const std::string name = argument.substr(2);
        if (flags.count(name)) {
            parsed.options[name] = std::string();
        } else if (valued.count(name)) {
            if (i + 1 == arguments.size()) throw UsageError(argument + " needs a value");
            parsed.options[name] = arguments[++i];
        } else {
            throw UsageError("unknown option " + argument);
        }
    }
    return parsed;
}

void expectWords(const ParsedArguments& parsed, size_t count, const std::string& names)
{
    if (parsed.words.size() == count + 1) return;
    throw UsageError(parsed.words[0] + (count == 0 ? " takes no arguments" : " takes " + names));
}

}  // namespace tallow_tools
