#include "console/Json.h"

#include <nlohmann/json.hpp>

#include "text/Text.h"

namespace velmora::console {
namespace {

using Json = nlohmann::ordered_json;

const char* SourceName(Source source) {
  return source == Source::kUser ? "user" : "system";
}

// The document is built member by member into room made beforehand: a
// report of the longest lists holds thousands of entries, and building each
// from a list of members copies every value once more.
Json& NewObject(Json& value, std::size_t members) {
  value = Json::object();
  value.get_ref<Json::object_t&>().reserve(members);
  return value;
}
Json::array_t& NewArray(Json& value, std::size_t items) {
  value = Json::array();
  auto& array = value.get_ref<Json::array_t&>();
  array.reserve(items);
  return array;
}

void StoredJson(Json& stored, const std::string& value) {
  NewObject(stored, 2)["value"] = value;
  const std::vector<std::string_view> pieces = text::SplitSearchList(value);
  Json::array_t& entries = NewArray(stored["entries"], pieces.size());
  for (const std::string_view entry : pieces) entries.emplace_back(entry);
}

void ProgramsJson(Json& programs, const std::vector<Program>& list) {
  Json::array_t& copies = NewArray(programs, list.size());
  for (const Program& program : list) {
    Json& copy = NewObject(copies.emplace_back(), 3);
    copy["file"] = program.file;
    copy["alias"] = program.executionAlias;
    if (program.byEntry != 0) {
      copy["byEntry"] = program.byEntry;
      copy["by"] = program.by;
    } else {
      copy["overEntries"] = program.overEntries;
    }
  }
}

Json ListJson(const SearchListReport& list) {
  Json result;
  NewObject(result, 5);
  result["name"] = list.name;
  result["effective"] = list.effective;
  Json::array_t& entries = NewArray(result["entries"], list.entries.size());
  for (const Entry& entry : list.entries) {
    Json& item = NewObject(entries.emplace_back(), entry.programs.empty() ? 3 : 4);
    item["text"] = entry.text;
    item["source"] = SourceName(entry.source);
    Json::array_t& marks = NewArray(item["marks"], entry.marks.size());
    for (const Mark& mark : entry.marks) {
      Json& one = NewObject(marks.emplace_back(), mark.sameAs != 0 ? 3 : 2);
      one["mark"] = mark.mark;
      one["reason"] = mark.reason;
      if (mark.sameAs != 0) one["sameAs"] = mark.sameAs;
    }
    if (!entry.programs.empty()) ProgramsJson(item["programs"], entry.programs);
  }
  StoredJson(result["system"], list.system);
  StoredJson(result["user"], list.user);
  return result;
}

Json ProductJson(const Product& product) {
  Json item{{"name", product.name},
            {"names", product.namesFile ? "file" : "folder"},
            {"value", product.value}};
  if (!product.value.empty()) {
    item["source"] = SourceName(product.source);
    item["exists"] = product.exists;
  }
  return item;
}

std::string Dump(const Json& document) {
  return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

// Reading: every member looked up through one place, which names where the
// document fails.
class Reader {
 public:
  const Json& Member(const Json& object, const std::string& pointer, const char* name,
                     Json::value_t type) const {
    const std::string at = pointer + "/" + name;
    const auto found = object.find(name);
    if (found == object.end()) Fail(at, "missing");
    if (found->type() != type && !(type == Json::value_t::number_unsigned &&
                                   found->is_number_integer() && found->get<std::int64_t>() >= 0)) {
      Fail(at, std::string("should be ") + TypeName(type) + ", is " + found->type_name());
    }
    return *found;
  }
  std::string Text(const Json& object, const std::string& pointer, const char* name) const {
    return Member(object, pointer, name, Json::value_t::string).get<std::string>();
  }
  bool Flag(const Json& object, const std::string& pointer, const char* name) const {
    return Member(object, pointer, name, Json::value_t::boolean).get<bool>();
  }
  const Json& Array(const Json& object, const std::string& pointer, const char* name) const {
    return Member(object, pointer, name, Json::value_t::array);
  }
  Source SourceOf(const Json& object, const std::string& pointer) const {
    const std::string source = Text(object, pointer, "source");
    if (source != "user" && source != "system") {
      Fail(pointer + "/source", "should be \"user\" or \"system\"");
    }
    return source == "user" ? Source::kUser : Source::kSystem;
  }
  void Object(const Json& value, const std::string& pointer) const {
    if (!value.is_object())
      Fail(pointer, std::string("should be an object, is ") + value.type_name());
  }

  [[noreturn]] static void Fail(const std::string& pointer, const std::string& what) {
    throw BadDocument("at " + (pointer.empty() ? std::string("/") : pointer) + ": " + what);
  }

 private:
  static const char* TypeName(Json::value_t type) {
    switch (type) {
      case Json::value_t::string:
        return "a string";
      case Json::value_t::boolean:
        return "true or false";
      case Json::value_t::array:
        return "an array";
      case Json::value_t::object:
        return "an object";
      default:
        return "a number of 0 or more";
    }
  }
};

SearchListReport ReadList(const Reader& read, const Json& item, const std::string& at) {
  read.Object(item, at);
  SearchListReport list{read.Text(item, at, "name"), read.Text(item, at, "effective"), {}, {}, {}};
  const Json& entries = read.Array(item, at, "entries");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string entryAt = at + "/entries/" + std::to_string(i);
    read.Object(entries[i], entryAt);
    Entry entry{read.Text(entries[i], entryAt, "text"), read.SourceOf(entries[i], entryAt), {}, {}};
    const Json& marks = read.Array(entries[i], entryAt, "marks");
    for (std::size_t m = 0; m < marks.size(); ++m) {
      const std::string markAt = entryAt + "/marks/" + std::to_string(m);
      read.Object(marks[m], markAt);
      Mark mark{read.Text(marks[m], markAt, "mark"), read.Text(marks[m], markAt, "reason"), 0};
      if (marks[m].contains("sameAs")) {
        mark.sameAs = read.Member(marks[m], markAt, "sameAs", Json::value_t::number_unsigned)
                          .get<std::size_t>();
      }
      entry.marks.push_back(std::move(mark));
    }
    if (entries[i].contains("programs")) {
      const Json& programs = read.Array(entries[i], entryAt, "programs");
      for (std::size_t p = 0; p < programs.size(); ++p) {
        const std::string programAt = entryAt + "/programs/" + std::to_string(p);
        read.Object(programs[p], programAt);
        Program program{read.Text(programs[p], programAt, "file"),
                        read.Flag(programs[p], programAt, "alias"),
                        0,
                        "",
                        {}};
        if (programs[p].contains("byEntry")) {
          program.byEntry =
              read.Member(programs[p], programAt, "byEntry", Json::value_t::number_unsigned)
                  .get<std::size_t>();
          if (program.byEntry == 0) Reader::Fail(programAt + "/byEntry", "should be 1 or more");
          program.by = read.Text(programs[p], programAt, "by");
        } else {
          for (const Json& over : read.Array(programs[p], programAt, "overEntries")) {
            if (!over.is_number_integer() || over.get<std::int64_t>() < 1) {
              Reader::Fail(programAt + "/overEntries", "should hold entry numbers");
            }
            program.overEntries.push_back(over.get<std::size_t>());
          }
        }
        entry.programs.push_back(std::move(program));
      }
    }
    list.entries.push_back(std::move(entry));
  }
  for (const char* side : {"system", "user"}) {
    const Json& stored = read.Member(item, at, side, Json::value_t::object);
    (side[0] == 's' ? list.system : list.user) = read.Text(stored, at + "/" + side, "value");
  }
  return list;
}

Product ReadProduct(const Reader& read, const Json& item, const std::string& at) {
  read.Object(item, at);
  Product product{read.Text(item, at, "name"), false, read.Text(item, at, "value"), Source::kSystem,
                  false};
  const std::string names = read.Text(item, at, "names");
  if (names != "file" && names != "folder")
    Reader::Fail(at + "/names", "should be \"file\" or \"folder\"");
  product.namesFile = names == "file";
  if (!product.value.empty()) {
    product.source = read.SourceOf(item, at);
    product.exists = read.Flag(item, at, "exists");
  }
  return product;
}

Json Origin(const Report& report) {
  return Json{{"machine", report.machine}, {"user", report.user}, {"date", report.date}};
}

}  // namespace

std::string ReportJson(const Report& report) {
  Json lists = Json::array();
  for (const SearchListReport& list : report.lists) lists.push_back(ListJson(list));
  Json products = Json::array();
  for (const Product& product : report.products) products.push_back(ProductJson(product));
  Json mordale{{"databaseExists", report.mordaleDatabase}};
  if (report.mordaleBinInPath) mordale["binInPath"] = *report.mordaleBinInPath;
  return Dump(Json{{"schema", kReportSchema},
                   {"program", {{"title", report.title}, {"version", report.version}}},
                   {"machine", report.machine},
                   {"user", report.user},
                   {"date", report.date},
                   {"lists", std::move(lists)},
                   {"products", std::move(products)},
                   {"mordale", std::move(mordale)}});
}

std::string ComparisonJson(const Report& baseline, const Report& other,
                           const std::vector<Difference>& differences) {
  Json items = Json::array();
  for (const Difference& difference : differences) {
    Json item{{"kind", KindName(difference.kind)},
              {"subject", difference.subject},
              {"entry", difference.entry}};
    if (!difference.before.empty() || !difference.after.empty()) {
      item["before"] = difference.before;
      item["after"] = difference.after;
    }
    if (difference.from != 0) item["from"] = difference.from;
    if (difference.to != 0) item["to"] = difference.to;
    items.push_back(std::move(item));
  }
  return Dump(Json{{"schema", kCompareSchema},
                   {"baseline", Origin(baseline)},
                   {"other", Origin(other)},
                   {"differences", std::move(items)}});
}

Report ReadReportJson(std::string_view document) {
  Json root;
  try {
    root = Json::parse(document);
  } catch (const Json::parse_error& error) {
    // The library's own words, without its "[json.exception...] " prefix.
    std::string what = error.what();
    if (const std::size_t cut = what.find("] "); cut != std::string::npos) what.erase(0, cut + 2);
    throw BadDocument("at byte " + std::to_string(error.byte) + ": " + what);
  } catch (const Json::exception& error) {
    // A number past what a double holds ("1e999"): the library names it.
    std::string what = error.what();
    if (const std::size_t cut = what.find("] "); cut != std::string::npos) what.erase(0, cut + 2);
    throw BadDocument(what);
  }
  const Reader read;
  read.Object(root, "");
  const std::string schema = read.Text(root, "", "schema");
  if (schema != kReportSchema) {
    Reader::Fail("/schema", "\"" + schema + "\", this program reads \"" + kReportSchema + "\"");
  }
  Report report;
  const Json& program = read.Member(root, "", "program", Json::value_t::object);
  report.title = read.Text(program, "/program", "title");
  report.version = read.Text(program, "/program", "version");
  report.machine = read.Text(root, "", "machine");
  report.user = read.Text(root, "", "user");
  report.date = read.Text(root, "", "date");
  const Json& lists = read.Array(root, "", "lists");
  for (std::size_t i = 0; i < lists.size(); ++i) {
    report.lists.push_back(ReadList(read, lists[i], "/lists/" + std::to_string(i)));
  }
  const Json& products = read.Array(root, "", "products");
  for (std::size_t i = 0; i < products.size(); ++i) {
    report.products.push_back(ReadProduct(read, products[i], "/products/" + std::to_string(i)));
  }
  const Json& mordale = read.Member(root, "", "mordale", Json::value_t::object);
  report.mordaleDatabase = read.Flag(mordale, "/mordale", "databaseExists");
  if (mordale.contains("binInPath"))
    report.mordaleBinInPath = read.Flag(mordale, "/mordale", "binInPath");
  return report;
}

}  // namespace velmora::console
