// Page addresses resolved to file-system paths.
#include <gtest/gtest.h>

#include "ui/web/page_scripts.hpp"
#include "ui/web/url.hpp"

namespace {

TEST(WebUrl, RelativeAddressesResolveAgainstThePagesFolder) {
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "css/a.css"), "file:///ui/css/a.css");
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "./img/b.png"), "file:///ui/img/b.png");
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "../fonts/c.ttf"), "file:///fonts/c.ttf");
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "/logo/d.png"), "file:///logo/d.png");
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "file:///x/y.js"), "file:///x/y.js");
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "a.png?v=2#top"), "file:///ui/a.png");
}

TEST(WebUrl, DotDotNeverClimbsAboveTheRoot) {
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "../../../etc/passwd"), "file:///etc/passwd");
    EXPECT_EQ(web::filePathOf("file:///../secret"), "secret");
}

TEST(WebUrl, OnlyFileAddressesHavePaths) {
    EXPECT_EQ(web::filePathOf("file:///ui/ui.html"), "ui/ui.html");
    EXPECT_EQ(web::filePathOf("https://example.com/x"), "");
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "https://example.com/x"),
              "https://example.com/x");
}

TEST(WebPageScan, ScriptsStylesAndDiagnosticsInDocumentOrder) {
    const web::PageScriptInfo info = web::scanPageScripts(
        "<html><head><meta name='diagnostics' content='Warn'><link rel='StyleSheet' href='a.css'>"
        "<style>.x{}</style><script src='s.js'></script></head>"
        "<body><script>var a = '<b>';</script></body></html>");
    ASSERT_EQ(info.scripts.size(), 2u);
    EXPECT_EQ(info.scripts[0].src, "s.js");
    EXPECT_EQ(info.scripts[1].source, "var a = '<b>';");
    ASSERT_EQ(info.styles.size(), 2u);
    EXPECT_EQ(info.styles[0].href, "a.css");
    EXPECT_EQ(info.styles[1].text, ".x{}");
    EXPECT_EQ(info.diagnostics, 1);
}

TEST(WebPageScan, DiagnosticsLevelWords) {
    EXPECT_EQ(web::parseDiagnosticsLevel("off"), 0);
    EXPECT_EQ(web::parseDiagnosticsLevel(" STRICT "), 2);
    EXPECT_EQ(web::parseDiagnosticsLevel("3"), 3);
    EXPECT_EQ(web::parseDiagnosticsLevel("loud"), std::nullopt);
    EXPECT_EQ(web::parseDiagnosticsLevel(""), std::nullopt);
}

}  // namespace
