#include "web/scorm_package.h"

#include <libxml/xmlwriter.h>
#include <zip.h>

#include <memory>

namespace site {

namespace {

constexpr const char* kIdentifierPrefix = "keravon_";
constexpr const char* kOrganization = "quiz";
constexpr const char* kItem = "quiz_item";
constexpr const char* kResource = "quiz_page";
constexpr const char* kLaunchPage = "index.html";

// A href is a URI: file names with blanks or other characters are escaped,
// byte by byte of their UTF-8.
std::string hrefOf(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/';
        if (plain) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

// An identifier that XML takes as a name: letters and digits of the title.
std::string identifierOf(std::string_view title) {
    std::string out = kIdentifierPrefix;
    for (const char c : title) {
        const bool plain =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        out += plain ? c : '_';
    }
    return out;
}

const xmlChar* x(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

struct WriterDeleter {
    void operator()(xmlTextWriter* writer) const { xmlFreeTextWriter(writer); }
};
struct BufferDeleter {
    void operator()(xmlBuffer* buffer) const { xmlBufferFree(buffer); }
};

void element(xmlTextWriter* writer, const char* name, const std::string& text) {
    xmlTextWriterWriteElement(writer, x(name), x(text.c_str()));
}

void attribute(xmlTextWriter* writer, const char* name, const std::string& value) {
    xmlTextWriterWriteAttribute(writer, x(name), x(value.c_str()));
}

void writeFileEntries(xmlTextWriter* writer, const std::vector<SiteFile>& files) {
    for (const SiteFile& file : files) {
        xmlTextWriterStartElement(writer, x("file"));
        attribute(writer, "href", hrefOf(file.path));
        xmlTextWriterEndElement(writer);
    }
}

}  // namespace

std::string packageTitle(const Site& site, const fs::path& quiz) {
    const std::string& title = site.words.word(PageWord::Title);
    if (!title.empty()) return title;
    fs::path folder = fs::absolute(quiz).lexically_normal();
    if (folder.filename().empty()) folder = folder.parent_path();
    return folder.filename().string();
}

std::string manifestOf(const Site& site, const std::string& title) {
    std::unique_ptr<xmlBuffer, BufferDeleter> buffer(xmlBufferCreate());
    std::unique_ptr<xmlTextWriter, WriterDeleter> owner(xmlNewTextWriterMemory(buffer.get(), 0));
    xmlTextWriter* writer = owner.get();
    xmlTextWriterSetIndent(writer, 1);
    xmlTextWriterSetIndentString(writer, x("  "));
    xmlTextWriterStartDocument(writer, "1.0", "UTF-8", nullptr);

    xmlTextWriterStartElement(writer, x("manifest"));
    attribute(writer, "identifier", identifierOf(title));
    attribute(writer, "version", "1.0");
    attribute(writer, "xmlns", "http://www.imsproject.org/xsd/imscp_rootv1p1p2");
    attribute(writer, "xmlns:adlcp", "http://www.adlnet.org/xsd/adlcp_rootv1p2");
    attribute(writer, "xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
    attribute(writer, "xsi:schemaLocation",
              "http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd "
              "http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 imsmd_rootv1p2p1.xsd "
              "http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd");

    xmlTextWriterStartElement(writer, x("metadata"));
    element(writer, "schema", "ADL SCORM");
    element(writer, "schemaversion", "1.2");
    xmlTextWriterEndElement(writer);

    xmlTextWriterStartElement(writer, x("organizations"));
    attribute(writer, "default", kOrganization);
    xmlTextWriterStartElement(writer, x("organization"));
    attribute(writer, "identifier", kOrganization);
    element(writer, "title", title);
    xmlTextWriterStartElement(writer, x("item"));
    attribute(writer, "identifier", kItem);
    attribute(writer, "identifierref", kResource);
    element(writer, "title", title);
    xmlTextWriterEndElement(writer);  // item
    xmlTextWriterEndElement(writer);  // organization
    xmlTextWriterEndElement(writer);  // organizations

    xmlTextWriterStartElement(writer, x("resources"));
    xmlTextWriterStartElement(writer, x("resource"));
    attribute(writer, "identifier", kResource);
    attribute(writer, "type", "webcontent");
    attribute(writer, "adlcp:scormtype", "sco");
    attribute(writer, "href", kLaunchPage);
    writeFileEntries(writer, site.engine);
    xmlTextWriterStartElement(writer, x("file"));
    attribute(writer, "href", kFileListName);
    xmlTextWriterEndElement(writer);
    writeFileEntries(writer, site.quiz);
    xmlTextWriterEndDocument(writer);  // closes every open element
    owner.reset();                     // flushes into the buffer
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                       static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}

bool writePackage(const Site& site, const std::string& manifest, const fs::path& zipPath,
                  std::string& error) {
    int code = 0;
    zip_t* archive = zip_open(zipPath.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, code);
        error = "cannot create " + zipPath.string() + ": " + zip_error_strerror(&reason);
        zip_error_fini(&reason);
        return false;
    }
    // libzip reads every source when the archive is closed: the texts given
    // as buffers live in `site` and `manifest` until then.
    const auto addBuffer = [&](const char* name, const std::string& text) {
        zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
        if (source && zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) >= 0) return true;
        zip_source_free(source);
        return false;
    };
    const auto addFiles = [&](const std::vector<SiteFile>& files) {
        for (const SiteFile& file : files) {
            zip_source_t* source = zip_source_file(archive, file.source.string().c_str(), 0, -1);
            if (!source || zip_file_add(archive, file.path.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
                zip_source_free(source);
                return false;
            }
        }
        return true;
    };
    const bool added = addBuffer(kManifestName, manifest) && addFiles(site.engine) &&
                       addBuffer(kFileListName, site.fileList) && addFiles(site.quiz);
    if (!added || zip_close(archive) != 0) {
        error = "cannot write " + zipPath.string() + ": " + zip_strerror(archive);
        zip_discard(archive);
        return false;
    }
    return true;
}

}  // namespace site
