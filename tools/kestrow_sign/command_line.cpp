#include "tools/kestrow_sign/command_line.h"

#include <CLI/CLI.hpp>

#include "tools/kestrow_sign/nearest_name.h"

namespace {

const char g_szTryHelp[] = " (try --help)";

const CLI::App* SubcommandNamed(const CLI::App& app, const std::string& strName) {
    const auto named = app.get_subcommands(
        [&strName](const CLI::App* pSub) { return pSub->get_name() == strName; });
    return named.empty() ? nullptr : named[0];
}

// The long option names of app ("--prefix"), or its subcommands' names.
std::vector<std::string> NamesOf(const CLI::App& app, bool bOptions) {
    std::vector<std::string> names;
    if (bOptions) {
        for (const CLI::Option* pOption : app.get_options()) {
            for (const std::string& strName : pOption->get_lnames()) {
                names.push_back("--" + strName);
            }
        }
    } else {
        for (const CLI::App* pSub : app.get_subcommands({})) {
            names.push_back(pSub->get_name());
        }
    }
    return names;
}

const CLI::Option* OptionNamed(const CLI::App& app, const std::string& strName) {
    for (const CLI::Option* pOption : app.get_options()) {
        for (const std::string& strLong : pOption->get_lnames()) {
            if ("--" + strLong == strName) {
                return pOption;
            }
        }
    }
    return nullptr;
}

// Where CLI11 would read the values otherwise than documented, before it reads them: it takes
// "--name=" for a name without a value and the next argument as the value, the next argument
// even when it is an option, and a value after a flag's '='.
bool SettleValues(const CLI::App& app, std::vector<std::string>& args, SSignError& error) {
    const CLI::App* pApp = &app;
    for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i) {
        if (const CLI::App* pSub = SubcommandNamed(*pApp, args[i])) {
            pApp = pSub;
            continue;
        }
        const std::size_t nEquals = args[i].find('=');
        const std::string strName = args[i].substr(0, nEquals);
        const CLI::Option* pOption = OptionNamed(*pApp, strName);
        if (pOption == nullptr) {
            continue;
        }
        if (pOption->get_expected_max() == 0) {
            if (nEquals != std::string::npos) {
                return Fail(error, SIGN_EXIT_USAGE, strName + " takes no value");
            }
        } else if (nEquals + 1 == args[i].size()) {
            args[i] = strName;
            args.insert(args.begin() + static_cast<std::ptrdiff_t>(++i), "");
        } else if (nEquals == std::string::npos) {
            if (i + 1 == args.size() || args[i + 1].compare(0, 2, "--") == 0) {
                return Fail(error, SIGN_EXIT_USAGE, strName + " needs a value" + g_szTryHelp);
            }
            ++i;
        }
    }
    return true;
}

// What CLI11 left over is an unknown option or a stray argument (anything after "--").
bool CheckLeftOver(const CLI::App& app, SSignError& error) {
    const std::vector<std::string> left = app.remaining();
    if (left.empty() || left == std::vector<std::string>{"--"}) {
        return true;
    }
    const bool bOption = left[0].size() > 1 && left[0][0] == '-' && left[0] != "--";
    const std::string strGiven =
        bOption ? left[0].substr(0, left[0].find('=')) : left[left[0] == "--" ? 1 : 0];
    const std::string strNearest = NearestName(strGiven, NamesOf(app, bOption));
    return Fail(error, SIGN_EXIT_USAGE,
                (bOption ? "unknown option '" : "unexpected argument '") + strGiven + "'" +
                    (strNearest.empty() ? g_szTryHelp : "; did you mean '" + strNearest + "'?"));
}

bool CheckOnce(const CLI::App& app, SSignError& error) {
    for (const CLI::Option* pOption : app.get_options()) {
        if (pOption->count() > 1) {
            return Fail(error, SIGN_EXIT_USAGE, pOption->get_name() + " is given more than once");
        }
    }
    return true;
}

} // namespace

bool ParseCommandLine(std::vector<std::string> args, const std::string& strVersion,
                      SCommandLine& command, SSignError& error) {
    CLI::App app("", "kestrow-sign");
    // Subcommands inherit these; each check of ours reports a repeated option or a leftover.
    app.allow_windows_style_options(false);
    app.allow_extras();
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.set_help_flag("-h,--help", "show this text");
    app.get_formatter()->column_width(28);
    CLI::App& verify = *app.add_subcommand("verify", "check a signed request (see verify --help)");
    for (CLI::App* pApp : {&app, &verify}) {
        pApp->set_version_flag("--version", "kestrow-sign " + strVersion, "show the version");
    }
    AddSignOptions(app, command.sign);
    AddVerifyOptions(verify, command.verify);
    if (!SettleValues(app, args, error)) {
        return false;
    }
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend() - 1);
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        command.nCommand = COMMAND_SHOW;
        command.strShow = app.help();
        return true;
    } catch (const CLI::CallForVersion& version) {
        command.nCommand = COMMAND_SHOW;
        command.strShow = std::string(version.what()) + "\n";
        return true;
    } catch (const CLI::ParseError& parseError) {
        return Fail(error, SIGN_EXIT_USAGE, parseError.what() + std::string(g_szTryHelp));
    }
    if (!CheckLeftOver(app, error) || !CheckLeftOver(verify, error) || !CheckOnce(app, error) ||
        !CheckOnce(verify, error)) {
        return false;
    }
    if (!verify.parsed()) {
        command.nCommand = COMMAND_SIGN;
        return true;
    }
    for (const CLI::Option* pOption : app.get_options()) {
        if (pOption->count() > 0) {
            return Fail(error, SIGN_EXIT_USAGE,
                        "verify takes its options after it: kestrow-sign verify [OPTIONS]");
        }
    }
    command.nCommand = COMMAND_VERIFY;
    return CheckVerifyOptions(command.verify, error);
}
