#include "XMLNode.h"

#include <QXmlStreamReader>

#include "OrvelDomain/Text.h"
#include "SonosProtocolBoundary/ProtocolLog.h"
#include "SonosProtocolBoundary/XMLCharacters.h"

namespace orvel {

const XMLNode* XMLNode::child(std::string_view childName) const {
    for (const auto& c : children) {
        if (c.name == childName) return &c;
    }
    return nullptr;
}

std::vector<const XMLNode*> XMLNode::childrenNamed(std::string_view childName) const {
    std::vector<const XMLNode*> out;
    for (const auto& c : children) {
        if (c.name == childName) out.push_back(&c);
    }
    return out;
}

const XMLNode* XMLNode::find(std::string_view path) const {
    const XMLNode* node = this;
    while (node != nullptr && !path.empty()) {
        auto slash = path.find('/');
        node = node->child(path.substr(0, slash));
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
    }
    return node;
}

std::optional<std::string> XMLNode::attribute(std::string_view attributeName) const {
    auto it = attributes.find(std::string(attributeName));
    if (it == attributes.end()) return std::nullopt;
    return it->second;
}

std::string XMLNode::trimmedText() const { return text::trimmed(text); }

namespace {

// Straight from the view: a reply's text can be megabytes, and a QString in between is twice that.
std::string utf8(QStringView s) {
    const QByteArray bytes = s.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.substr(at, prefix.size()) == prefix;
}

// The position just past `terminator` at or after `from`, or the end of the text.
std::size_t skipPast(std::string_view text, std::size_t from, std::string_view terminator) {
    const std::size_t at = text.find(terminator, from);
    return at == std::string_view::npos ? text.size() : at + terminator.size();
}

bool isNameEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '='; }

// Counts the attributes of every start tag in one linear pass over the bytes. It only has to
// be right for documents the reader would accept; for anything else the reader reports the
// fault afterwards.
std::optional<ProtocolParseError> attributeBoundsExceeded(std::string_view document, const XMLNode::Limits& limits) {
    std::size_t total = 0;
    std::size_t namespaces = 0;
    std::size_t at = 0;
    while ((at = document.find('<', at)) != std::string_view::npos) {
        if (startsWith(document, at, "<!--")) {
            at = skipPast(document, at + 4, "-->");
        } else if (startsWith(document, at, "<![CDATA[")) {
            at = skipPast(document, at + 9, "]]>");
        } else if (startsWith(document, at, "<?")) {
            at = skipPast(document, at + 2, "?>");
        } else if (startsWith(document, at, "<!") || startsWith(document, at, "</")) {
            at = skipPast(document, at + 2, ">");
        } else {
            std::size_t inElement = 0;
            std::size_t nameStart = at + 1;  // of the attribute being read
            std::size_t i = at + 1;
            for (; i < document.size(); ++i) {
                const char c = document[i];
                if (isNameEnd(document[i - 1]) && !isNameEnd(c)) nameStart = i;
                if (c == '"' || c == '\'') {
                    const std::size_t close = document.find(c, i + 1);
                    i = close == std::string_view::npos ? document.size() : close;
                } else if (c == '=') {
                    if (++inElement > limits.maxAttributesPerElement) {
                        return ProtocolParseError("an XML element has more than " +
                                                  std::to_string(limits.maxAttributesPerElement) + " attributes");
                    }
                    if (++total > limits.maxAttributes) {
                        return ProtocolParseError("XML document has more than " + std::to_string(limits.maxAttributes) +
                                                      " attributes",
                                                  ProtocolParseError::Kind::tooLarge);
                    }
                    const std::string_view name = document.substr(nameStart, 6);
                    if ((name == "xmlns:" || (name.starts_with("xmlns") && (name.size() == 5 || isNameEnd(name[5])))) &&
                        ++namespaces > limits.maxNamespaceDeclarations) {
                        return ProtocolParseError("XML document declares more than " +
                                                  std::to_string(limits.maxNamespaceDeclarations) + " namespaces");
                    }
                } else if (c == '>' || c == '<') {
                    break;
                }
            }
            at = i;
        }
    }
    return std::nullopt;
}

// Whether the XML declaration names an encoding other than UTF-8.
bool declaresOtherEncoding(std::string_view document) {
    if (document.starts_with("\xEF\xBB\xBF")) document.remove_prefix(3);
    if (!document.starts_with("<?xml")) return false;
    const std::string_view declaration = document.substr(0, document.find("?>"));
    const std::size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) return false;
    const std::size_t open = declaration.find_first_of("\"'", key);
    if (open == std::string_view::npos) return false;
    const std::size_t close = declaration.find(declaration[open], open + 1);
    const std::string_view name = declaration.substr(open + 1, close == std::string_view::npos ? 0 : close - open - 1);
    return !text::caseInsensitiveEquals(name, "utf-8") && !text::caseInsensitiveEquals(name, "utf8");
}

}  // namespace

Parsed<XMLNode> XMLNode::parse(std::string_view document, const Limits& limits) {
    if (document.size() > limits.maxBytes) {
        return tooLargeFailure("XML document of " + std::to_string(document.size()) + " bytes exceeds the limit of " +
                               std::to_string(limits.maxBytes) + " bytes");
    }
    if (auto exceeded = attributeBoundsExceeded(document, limits)) return std::unexpected(std::move(*exceeded));
    // The size cap holds for what the reader reads as well as for what the speaker sent.
    std::string mended;
    const std::optional<std::size_t> count = xml_characters::mend(document, mended, limits.maxBytes);
    if (!count) {
        return tooLargeFailure("XML document exceeds the limit of " + std::to_string(limits.maxBytes) +
                               " bytes once its characters XML cannot carry read as U+FFFD");
    }
    if (*count > 0) {
        qCDebug(lcProtocol).nospace() << "XML document: read " << *count << " character(s) XML cannot carry as U+FFFD";
        document = mended;
    }
    // The encoding is pinned to UTF-8 whatever the declaration claims. The reader takes the bytes
    // themselves when they declare UTF-8 or nothing: a decoded copy would take twice their size,
    // and the reader would encode it back to UTF-8 again.
    std::optional<QXmlStreamReader> reading;
    if (declaresOtherEncoding(document)) {
        reading.emplace(QString::fromUtf8(document.data(), static_cast<qsizetype>(document.size())));
    } else {
        reading.emplace(QByteArray::fromRawData(document.data(), static_cast<qsizetype>(document.size())));
    }
    QXmlStreamReader& reader = *reading;
    std::vector<XMLNode> stack;
    std::optional<XMLNode> root;
    std::size_t elements = 0;

    while (!reader.atEnd()) {
        auto token = reader.readNext();
        switch (token) {
        case QXmlStreamReader::DTD:
            return parseFailure("XML document with a document type declaration is refused");
        case QXmlStreamReader::EntityReference:
            return parseFailure("XML document refers to an undeclared entity");
        case QXmlStreamReader::StartElement: {
            if (root) return parseFailure("XML document has content after its root element");
            if (++elements > limits.maxElements) {
                return tooLargeFailure("XML document has more than " + std::to_string(limits.maxElements) + " elements");
            }
            if (stack.size() >= limits.maxDepth) {
                return parseFailure("XML document nests deeper than " + std::to_string(limits.maxDepth) + " levels");
            }
            XMLNode node;
            node.name = utf8(reader.name());
            for (const auto& attribute : reader.attributes()) {
                node.attributes.insert_or_assign(utf8(attribute.name()), utf8(attribute.value()));
            }
            stack.push_back(std::move(node));
            break;
        }
        case QXmlStreamReader::EndElement: {
            XMLNode node = std::move(stack.back());
            stack.pop_back();
            if (stack.empty()) {
                root = std::move(node);
            } else {
                stack.back().children.push_back(std::move(node));
            }
            break;
        }
        case QXmlStreamReader::Characters:
            if (stack.empty()) break;
            if (stack.back().text.empty()) {
                stack.back().text = utf8(reader.text());
            } else {
                stack.back().text += utf8(reader.text());
            }
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        return parseFailure("malformed XML at line " + std::to_string(reader.lineNumber()) + ": " +
                            reader.errorString().toStdString());
    }
    if (!root) return parseFailure("XML document has no root element");
    return std::move(*root);
}

}  // namespace orvel
