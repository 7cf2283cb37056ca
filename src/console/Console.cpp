#include "console/Console.h"

#include <new>

#include "console/Anonymize.h"
#include "console/Compare.h"
#include "console/Json.h"
#include "environment/AppInfo.h"
#include "environment/Lookups.h"
#include "platform/Failure.h"
#include "report/ReportBuilder.h"
#include "report/ReportFile.h"

namespace velmora::console {
namespace {

constexpr const char* kProgram = "VelmoraReport: ";

// A failure that ends the program, in the words of its one line.
struct Stop {
  std::string line;
};

// What goes out: the characters for a console window, the bytes elsewhere.
struct Output {
  std::string characters;
  std::string bytes;
  int exitCode = kExitWritten;
};

Output Utf8Output(std::string text, int exitCode = kExitWritten) {
  std::string bytes = text;
  return {std::move(text), std::move(bytes), exitCode};
}

Report ThisMachine(const platform::Platform& os) {
  const environment::VariableDictionary userValues = environment::ReadUserValues(os);
  return GatherReport(os, userValues, environment::ReadSystemValues(os));
}

Report ReadSaved(ConsoleIo& io, const std::string& path) {
  std::string reason;
  const std::optional<std::string> document = io.ReadFile(path, reason);
  if (!document) throw Stop{"cannot read " + path + ": " + reason};
  try {
    return ReadReportJson(*document);
  } catch (const BadDocument& bad) {
    throw Stop{path + " is not a Velmora report: " + bad.what()};
  }
}

Output Produce(const platform::Platform& os, ConsoleIo& io, const Options& options,
               const Anonymizer* anonymizer) {
  if (!options.compare.empty()) {
    Report baseline = ReadSaved(io, options.compare[0]);
    Report other = options.compare.size() > 1 ? ReadSaved(io, options.compare[1]) : ThisMachine(os);
    if (anonymizer) {
      anonymizer->Apply(baseline);
      anonymizer->Apply(other);
    }
    const std::vector<Difference> differences = Compare(baseline, other);
    const int code = differences.empty() ? kExitWritten : kExitDifferent;
    return Utf8Output(options.json ? ComparisonJson(baseline, other, differences)
                                   : ComparisonText(baseline, other, differences),
                      code);
  }
  if (options.json) {
    Report report = ThisMachine(os);
    if (anonymizer) anonymizer->Apply(report);
    return Utf8Output(ReportJson(report));
  }
  std::string text = report::ReportText(os);
  if (anonymizer) text = anonymizer->Apply(text);
  std::string bytes = report::EncodeReport(text);
  return {std::move(text), std::move(bytes), kExitWritten};
}

void Emit(const platform::Platform& os, ConsoleIo& io, const Options& options,
          const Output& output) {
  if (!options.output) {
    if (!io.WriteOut(output.characters, output.bytes))
      throw Stop{"cannot write to standard output"};
    return;
  }
  try {
    report::WriteWholeFile(os.files, *options.output, output.bytes);
  } catch (const platform::Failure& failure) {
    throw Stop{"cannot write " + *options.output + ": " + failure.Description()};
  }
}

int RunOptions(const platform::Platform& os, ConsoleIo& io, const Options& options) {
  if (options.help) {
    const std::string usage = UsageText();
    return io.WriteOut(usage, usage) ? kExitWritten : kExitFailed;
  }
  if (!options.anonymize) {
    const Output output = Produce(os, io, options, nullptr);
    Emit(os, io, options, output);
    return output.exitCode;
  }
  // The report is made with placeholders for the names, so that its frame
  // stands around them, and every other place they appear is then replaced.
  const Anonymizer anonymizer = Anonymizer::ForMachine(os);
  AnonymousIdentity identity(os.identity);
  const platform::Platform hidden{os.registry, os.environment, identity,      os.files,
                                  os.clock,    os.user,        os.sharedFiles};
  const Output output = Produce(hidden, io, options, &anonymizer);
  Emit(os, io, options, output);
  return output.exitCode;
}

}  // namespace

Usage ParseOptions(const std::vector<std::string>& args) {
  Options options;
  const auto fail = [](std::string error) { return Usage{std::nullopt, std::move(error)}; };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool more = i + 1 < args.size();
    if (arg == "--help" || arg == "/?" || arg == "-?") {
      options.help = true;
    } else if (arg == "--json" || arg == "--anonymize") {
      bool& flag = arg == "--json" ? options.json : options.anonymize;
      if (flag) return fail(arg + " is given twice");
      flag = true;
    } else if (arg == "--output") {
      if (options.output) return fail("--output is given twice");
      if (!more || args[i + 1].empty()) return fail("--output needs a file name");
      options.output = args[++i];
    } else if (arg == "--compare") {
      if (!options.compare.empty()) return fail("--compare is given twice");
      if (!more || args[i + 1].empty()) return fail("--compare needs a baseline file");
      options.compare.push_back(args[++i]);
      if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-' &&
          args[i + 1] != "/?") {
        options.compare.push_back(args[++i]);
      }
    } else if (!arg.empty() && (arg[0] == '-' || arg[0] == '/')) {
      return fail("unknown option \"" + arg + "\" (VelmoraReport --help lists them)");
    } else {
      return fail("unexpected argument \"" + arg + "\" (VelmoraReport --help lists the options)");
    }
  }
  return Usage{options, {}};
}

std::string UsageText() {
  return std::string(environment::kTitle) + " " + environment::VersionText() +
         " - the environment report from a command line\r\n"
         "\r\n"
         "VelmoraReport [--json] [--anonymize] [--output FILE]\r\n"
         "VelmoraReport --compare BASELINE.json [OTHER.json] [--json] [--anonymize] [--output "
         "FILE]\r\n"
         "\r\n"
         "  (no option)     the text report, the very bytes View Report writes\r\n"
         "  --json          the report as JSON (schema \"velmora-report/1\"), with\r\n"
         "                  every entry's source and marks\r\n"
         "  --compare BASELINE.json [OTHER.json]\r\n"
         "                  what differs between a saved JSON report and this\r\n"
         "                  machine (or OTHER.json); as JSON with --json\r\n"
         "  --anonymize     the user's, the machine's and the profile folder's\r\n"
         "                  names replaced by <user>, <machine> and <profile>\r\n"
         "  --output FILE   written to FILE, whole or not at all, instead of\r\n"
         "                  standard output\r\n"
         "  --help, /?      this text\r\n"
         "\r\n"
         "Exit codes: 0 written (compared: no difference), 1 differences found,\r\n"
         "2 bad use or a failure, named in one line on standard error.\r\n";
}

int Run(const platform::Platform& os, ConsoleIo& io, const std::vector<std::string>& args) {
  const Usage usage = ParseOptions(args);
  try {
    if (!usage.options) throw Stop{usage.error};
    return RunOptions(os, io, *usage.options);
  } catch (const Stop& stop) {
    io.WriteError(kProgram + stop.line);
  } catch (const platform::Failure& failure) {
    io.WriteError(kProgram + std::string("the report could not be made: ") + failure.Description() +
                  " (" + std::to_string(failure.Number()) + ")");
  } catch (const std::bad_alloc&) {
    io.WriteError(kProgram + std::string("out of memory"));
  } catch (const std::exception& failure) {
    io.WriteError(kProgram + std::string("failed: ") + failure.what());
  }
  return kExitFailed;
}

}  // namespace velmora::console
