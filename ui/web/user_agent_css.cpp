// Default styles for the HTML elements our pages use (litehtml ships none).
#include "ui/web/user_agent_css.hpp"

namespace web {

// Kept to the elements a game overlay uses; anything else is inline, as an
// unknown element is in a browser. Sizes follow common browser defaults so a
// page previewed in a browser lays out alike.
const char* const kUserAgentCss = R"css(
html { display: block; position: relative; }
head, script, style, link, meta, title, template, base { display: none; }
[hidden] { display: none; }
body { display: block; margin: 8px; }
div, section, article, header, footer, nav, main, aside, figure, form, fieldset,
address, blockquote, details, summary, dl, dd, dt, center, hgroup, figcaption { display: block; }
p { display: block; margin-top: 1em; margin-bottom: 1em; }
h1 { display: block; font-size: 2em; margin-top: 0.67em; margin-bottom: 0.67em; font-weight: bold; }
h2 { display: block; font-size: 1.5em; margin-top: 0.83em; margin-bottom: 0.83em; font-weight: bold; }
h3 { display: block; font-size: 1.17em; margin-top: 1em; margin-bottom: 1em; font-weight: bold; }
h4 { display: block; margin-top: 1.33em; margin-bottom: 1.33em; font-weight: bold; }
h5 { display: block; font-size: 0.83em; margin-top: 1.67em; margin-bottom: 1.67em; font-weight: bold; }
h6 { display: block; font-size: 0.67em; margin-top: 2.33em; margin-bottom: 2.33em; font-weight: bold; }
dd { margin-left: 40px; }
blockquote { margin: 1em 40px; }
ul, ol, menu { display: block; margin-top: 1em; margin-bottom: 1em; padding-left: 40px; }
ul, menu { list-style-type: disc; }
ol { list-style-type: decimal; }
ul ul, ol ul { list-style-type: circle; margin-top: 0; margin-bottom: 0; }
li { display: list-item; }
hr { display: block; margin: 0.5em auto; border-style: inset; border-width: 1px; border-color: #808080; }
pre { display: block; white-space: pre; margin: 1em 0; font-family: monospace; }
code, kbd, samp, tt { font-family: monospace; }
b, strong { font-weight: bold; }
i, em, cite, var, dfn { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
small { font-size: 0.83em; }
big { font-size: 1.17em; }
sub { vertical-align: sub; font-size: 0.83em; }
sup { vertical-align: super; font-size: 0.83em; }
a { color: #0000ee; text-decoration: underline; cursor: pointer; }
img { display: inline-block; }
br { display: block; }
button { display: inline-block; cursor: pointer; padding: 1px 6px; border: 2px outset #c0c0c0;
         background-color: #e0e0e0; color: #000000; text-align: center; }
input, select, textarea { display: inline-block; border: 2px inset #c0c0c0; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { font-weight: bold; text-align: center; }
caption { display: table-caption; text-align: center; }
)css";

}  // namespace web
