// The generators in tools/ rebuild the committed data folder byte for byte: running them
// into a scratch folder must reproduce every shipped picture, font, sound and the tune, and
// the desktop icons in packaging/icons
// (the Ogg encoder is given a fixed serial number, which makes its output repeatable).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> FilesUnder(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) files.insert(fs::relative(e.path(), root).generic_string());
    return files;
}

TEST(AssetGenerator, RebuildsTheCommittedDataFolderExactly) {
    const fs::path source = VORTAN_SOURCE_DIR;
    ScratchDir scratch;
    ProcessOptions options;
    options.timeoutSeconds = 900;
    options.env["PYTHONDONTWRITEBYTECODE"] = "1";  // leave the source tree as it was
    ProcessResult r = RunProcess({VORTAN_ASSET_PYTHON, (source / "tools/make_assets.py").string(),
                                  "--out", scratch.Path(), "--music-wav", scratch.File("gale.wav")},
                                 options);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::set<std::string> made = FilesUnder(scratch.Path());
    std::set<std::string> shipped = FilesUnder(source / "data");
    for (const std::string& f : shipped) {
        EXPECT_TRUE(made.count(f)) << f << " is in data/ but no generator makes it";
        if (made.count(f)) {
            EXPECT_TRUE(Slurp(source / "data" / f) == Slurp(fs::path(scratch.Path()) / f))
                << f << " differs from what the generators make now";
        }
    }
    for (const std::string& f : made) {
        if (f == "gale.wav" || f == "contact_sheet.png") continue;
        if (f.rfind("icons/", 0) == 0) {  // the desktop icon, committed under packaging/
            EXPECT_TRUE(Slurp(source / "packaging" / f) == Slurp(fs::path(scratch.Path()) / f))
                << "packaging/" << f << " differs from what the generators make now";
            continue;
        }
        EXPECT_TRUE(shipped.count(f)) << f << " is generated but not committed";
    }
    for (const std::string& f : FilesUnder(source / "packaging/icons")) {
        EXPECT_TRUE(made.count("icons/" + f))
            << "packaging/icons/" << f << " is committed but no generator makes it";
    }
    EXPECT_TRUE(Slurp(source / "docs/contact_sheet.png") ==
                Slurp(scratch.File("contact_sheet.png")))
        << "docs/contact_sheet.png is out of date";
}

}  // namespace
