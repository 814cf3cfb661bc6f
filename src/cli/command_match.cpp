#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "cli/latin1_argument.h"
#include "recovery/name_match.h"

namespace lumbra::cli {

namespace {

int runMatch(CliContext& context, const ParsedArguments& arguments) {
    if (arguments.positional.size() < 2) return context.fail(kExitBadInput, "match takes a PATTERN and one NAME or more");
    const std::string pattern = UpperCase8Bit(Latin1FromArgument(arguments.positional[0]));
    std::vector<bool> results;
    for (size_t i = 1; i < arguments.positional.size(); ++i)
        results.push_back(MatchName(UpperCase8Bit(Latin1FromArgument(arguments.positional[i])), pattern));
    if (arguments.has("--json")) {
        JsonWriter json(context.out);
        json.beginObject().key("results").beginArray();
        for (bool result : results) json.value(result);
        json.endArray().endObject().finish();
        return kExitOk;
    }
    for (size_t i = 0; i < results.size(); ++i)
        context.out << (results[i] ? "yes  " : "no   ") << arguments.positional[i + 1] << "\n";
    return kExitOk;
}

}  // namespace

Command MatchCommand() {
    return {"match", "try a filter or search pattern on names",
            "Usage: lumbra-nss-cli match PATTERN NAME... [--json]\n"
            "Tells for each NAME whether it matches PATTERN, both upper-cased, as the file filters of\n"
            "extract and the find command decide: * and ? are wildcards, and a pattern without them\n"
            "matches anywhere in the name.\n"
            "  --json   print {\"results\":[true,false,...]}\n",
            {{"--json", 0, false}}, runMatch};
}

}  // namespace lumbra::cli
