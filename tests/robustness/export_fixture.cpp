#include "robustness/export_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "archive-gen/jet_writer.h"
#include "archive-gen/sample/sample_generator.h"
#include "archive-gen/sample/writer_sink.h"

namespace tarvik::test {

const std::filesystem::path& sample_archive(int scale) {
  static TempDir folder;
  static std::map<int, std::filesystem::path> written;
  auto [it, fresh] = written.emplace(scale, folder / ("sample-" + std::to_string(scale) + ".mdb"));
  if (fresh) {
    archive_gen::sample::SampleOptions options;
    options.scale = scale;
    const auto schema = archive_gen::sample::tarvik_schema(false);
    archive_gen::JetWriter writer(it->second.string(), schema.tables);
    archive_gen::sample::WriterSink sink(writer);
    archive_gen::sample::generate_sample(options, schema, sink);
    writer.finish();
  }
  return it->second;
}

std::vector<std::uint8_t> read_file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file_bytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> export_args(const std::filesystem::path& folder, const std::filesystem::path& output) {
  return {"export", "--folder", folder.string() + "/", "--output", output.string(), "--departments", "no"};
}

std::vector<std::string> folder_entries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tarvik::test

namespace tarvik::test {

bool transfer_file_verifies(const std::filesystem::path& file) {
  return run_tool(std::vector<std::string>{"verify", file.string()}).exited_with(0);
}

void open_to_everyone(const std::filesystem::path& folder) {
  using std::filesystem::perms;
  std::filesystem::permissions(folder, perms::owner_all | perms::group_read | perms::group_exec |
                                           perms::others_read | perms::others_exec);
}

std::string tool_for_unprivileged_user(std::string& why) {
  if (geteuid() != 0) return kToolPath;
  static TempDir folder;
  static std::string tool, failure;
  if (tool.empty() && failure.empty()) {
    open_to_everyone(folder.path());
    const auto copy = folder / "tarvik-transfer";
    std::filesystem::copy_file(kToolPath, copy, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(copy, std::filesystem::perms::all &
                                           ~(std::filesystem::perms::group_write | std::filesystem::perms::others_write));
    // A probe: any exit code of the tool's own means the child ran as nobody.
    const ToolResult probe = run_tool(ToolOptions({"verify", "/nonexistent"}).as_user_nobody(copy.string()));
    if (probe.exited_with(kCouldNotDropPrivileges)) failure = "the tests run as root and cannot switch a child to user nobody";
    else if (probe.exited_with(kCouldNotExec)) failure = "user nobody cannot run a copy of the tool in " + folder.path().string();
    else tool = copy.string();
  }
  why = failure;
  return tool;
}

}  // namespace tarvik::test
