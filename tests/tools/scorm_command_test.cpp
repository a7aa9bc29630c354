// krvtool scorm: the site in a zip that passes `unzip -t`, whose manifest is
// well-formed XML naming the quiz and listing every file of the package.

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <unistd.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "command.h"
#include "web/site.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

// The names in a zip and the text of one of its files.
struct Unpacked {
    std::set<std::string> names;
    std::string manifest;
};

Unpacked unpack(const fs::path& zipPath) {
    Unpacked out;
    int error = 0;
    zip_t* archive = zip_open(zipPath.string().c_str(), ZIP_RDONLY, &error);
    if (!archive) return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i)
        out.names.insert(zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS));
    zip_stat_t stat;
    if (zip_stat(archive, "imsmanifest.xml", 0, &stat) == 0) {
        out.manifest.resize(stat.size);
        zip_file_t* file = zip_fopen(archive, "imsmanifest.xml", 0);
        zip_fread(file, out.manifest.data(), stat.size);
        zip_fclose(file);
    }
    zip_close(archive);
    return out;
}

std::string percentDecoded(const std::string& href) {
    std::string out;
    for (std::size_t i = 0; i < href.size(); ++i) {
        if (href[i] == '%' && i + 2 < href.size()) {
            out += static_cast<char>(std::stoi(href.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += href[i];
        }
    }
    return out;
}

// What the manifest says, read by a real XML parser.
struct Manifest {
    bool wellFormed = false;
    std::vector<std::string> titles;
    std::string launch;  // the SCO's href
    int scos = 0;
    std::set<std::string> files;  // decoded
};

std::string attributeOf(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string out = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return out;
}

void walk(xmlNode* node, Manifest& manifest) {
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        const std::string name = reinterpret_cast<const char*>(node->name);
        if (name == "title") {
            xmlChar* text = xmlNodeGetContent(node);
            manifest.titles.push_back(reinterpret_cast<const char*>(text));
            xmlFree(text);
        } else if (name == "resource" && attributeOf(node, "scormtype") == "sco") {
            ++manifest.scos;
            manifest.launch = attributeOf(node, "href");
        } else if (name == "file") {
            manifest.files.insert(percentDecoded(attributeOf(node, "href")));
        }
        walk(node->children, manifest);
    }
}

Manifest readManifest(const std::string& text) {
    Manifest manifest;
    xmlDoc* document =
        xmlReadMemory(text.data(), static_cast<int>(text.size()), "imsmanifest.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!document) return manifest;
    manifest.wellFormed = true;
    walk(xmlDocGetRootElement(document), manifest);
    xmlFreeDoc(document);
    return manifest;
}

class ScormCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("krv_scorm_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        for (const char* name : site::kEngineFiles) writeFile(root_ / "engine" / name, name);
        writeFile(root_ / "Earth & Sky" / "Data" / "krv.qry", "Q1\n");
        writeFile(root_ / "Earth & Sky" / "Pics" / "big pictures" / "Glob\xC3\xBCs 1.bmp", "BM12");
    }
    void TearDown() override { fs::remove_all(root_); }

    int runTool(const fs::path& quiz, const fs::path& package) {
        std::vector<std::string> all = {"krvtool",
                                        "scorm",
                                        quiz.string(),
                                        "-o",
                                        package.string(),
                                        "--engine",
                                        (root_ / "engine").string()};
        std::vector<char*> argv;
        for (std::string& word : all) argv.push_back(word.data());
        return run_krvtool(static_cast<int>(argv.size()), argv.data());
    }

    fs::path root_;
};

TEST_F(ScormCommandTest, ThePackageHoldsTheSiteAndAManifestListingEveryFile) {
    const fs::path quiz = root_ / "Earth & Sky";
    writeFile(quiz / "Data" / "page.txt", "title: Erde & Himmel <Klasse 5>\n");
    const fs::path package = root_ / "quiz.zip";
    ASSERT_EQ(runTool(quiz, package), 0);

    const std::string test = "unzip -tq '" + package.string() + "' >/dev/null";
    EXPECT_EQ(std::system(test.c_str()), 0);
    const Unpacked zip = unpack(package);
    EXPECT_TRUE(zip.names.count("imsmanifest.xml"));
    EXPECT_TRUE(zip.names.count("files.json"));
    EXPECT_TRUE(zip.names.count("Pics/big pictures/Glob\xC3\xBCs 1.bmp"));
    const Manifest manifest = readManifest(zip.manifest);
    ASSERT_TRUE(manifest.wellFormed) << zip.manifest;
    EXPECT_EQ(manifest.scos, 1);
    EXPECT_EQ(manifest.launch, "index.html");
    ASSERT_FALSE(manifest.titles.empty());
    EXPECT_EQ(manifest.titles.front(), "Erde & Himmel <Klasse 5>");
    std::set<std::string> packed = zip.names;
    packed.erase("imsmanifest.xml");
    EXPECT_EQ(manifest.files, packed);
}

TEST_F(ScormCommandTest, WithoutATitleTheFolderNamesTheQuizAndFailuresWriteNothing) {
    const fs::path quiz = root_ / "Earth & Sky";
    ASSERT_EQ(runTool(quiz / "", root_ / "a.zip"), 0);
    const Manifest manifest = readManifest(unpack(root_ / "a.zip").manifest);
    ASSERT_FALSE(manifest.titles.empty());
    EXPECT_EQ(manifest.titles.front(), "Earth & Sky");

    fs::remove(root_ / "engine" / "touch.js");
    EXPECT_EQ(runTool(quiz, root_ / "b.zip"), 1);
    EXPECT_FALSE(fs::exists(root_ / "b.zip"));
}

}  // namespace
