// Escaping, and the page's inline style and script.
#include "HtmlText.h"

namespace {

// Everything inline: the page loads nothing.
constexpr std::string_view Style = R"css(
:root { --ink: #1b1f24; --muted: #57606a; --line: #d0d7de; --paper: #ffffff; --band: #f6f8fa;
  --enter: #ddf4ff; --leave: #ffebe9; --pivot: #fff8c5; --accent: #0969da; --warn: #9a6700; }
* { box-sizing: border-box; }
body { margin: 0; font: 15px/1.5 system-ui, -apple-system, "Segoe UI", Roboto, sans-serif; color: var(--ink);
  background: var(--paper); }
main { max-width: 78rem; margin: 0 auto; padding: 1.5rem 1.25rem 4rem; }
h1 { font-size: 1.6rem; margin: 0 0 .25rem; }
h2 { font-size: 1.2rem; margin: 2rem 0 .6rem; padding-bottom: .25rem; border-bottom: 1px solid var(--line); }
h3 { font-size: 1.05rem; margin: 0; }
a { color: var(--accent); }
.summary, .note, .keys { color: var(--muted); margin: .2rem 0; }
kbd { font: 12px ui-monospace, monospace; border: 1px solid var(--line); border-bottom-width: 2px;
  border-radius: 4px; padding: 0 .3rem; background: var(--band); }
.warnings { border: 2px solid var(--warn); border-left-width: 8px; border-radius: 6px; padding: .5rem 1rem;
  margin: 1rem 0; background: #fff8e6; }
.warnings h2 { margin: .2rem 0 .4rem; border: 0; color: var(--warn); }
.warnings h2::before { content: "\26A0\FE0E  "; }
.warnings li { margin: .25rem 0; }
.num, td { font-family: ui-monospace, "SFMono-Regular", Menlo, Consolas, monospace; font-size: 13px;
  font-variant-numeric: tabular-nums; }
.end { display: flex; flex-wrap: wrap; gap: .5rem 3rem; align-items: flex-start; }
.end .game { flex: 1 1 28rem; }
.end .game .value { margin-top: .3rem; }
.result dl { display: grid; grid-template-columns: max-content 1fr; gap: .15rem 1rem; margin: .5rem 0; }
.result dt { font-weight: 600; }
.result dd { margin: 0; font-family: ui-monospace, monospace; overflow-wrap: anywhere; }
.value { font-size: 1.15rem; margin: .8rem 0; }
.value strong { font-size: 1.6rem; font-family: ui-monospace, monospace; padding: 0 .3rem; }
.players { display: grid; grid-template-columns: repeat(auto-fit, minmax(20rem, 1fr)); gap: 1.5rem; }
.bars { display: grid; grid-template-columns: max-content 1fr max-content; gap: .3rem .6rem;
  align-items: center; margin: .5rem 0 1rem; max-width: 40rem; }
.bar { display: contents; }
.bar-label { font-weight: 600; }
.bar-track { height: 1.1rem; border: 1px solid var(--ink); border-radius: 3px; background:
  repeating-linear-gradient(90deg, transparent 0 calc(10% - 1px), var(--line) calc(10% - 1px) 10%); }
.bar-fill { display: block; height: 100%; background: var(--accent); background-image:
  repeating-linear-gradient(45deg, rgba(255,255,255,.25) 0 4px, transparent 4px 8px); }
.bar-value { font-family: ui-monospace, monospace; text-align: right; }
.scroll { overflow-x: auto; width: fit-content; max-width: 100%; margin: .4rem 0 .2rem; border: 1px solid var(--line); border-radius: 6px; }
table { border-collapse: collapse; }
caption > span { position: sticky; left: .6rem; }
caption { caption-side: top; text-align: left; padding: .35rem .6rem; font-weight: 600; background: var(--band);
  border-bottom: 1px solid var(--line); }
th, td { padding: .2rem .55rem; border-bottom: 1px solid var(--line); white-space: nowrap; }
/* A cell's line as tall as its row header's (15px at 1.5): cells shorter than their row made a grid of a
   hundred thousand cells take a third more of the browser's memory. */
td { text-align: right; line-height: 22.5px; }
thead th { position: sticky; top: 0; background: var(--band); font-weight: 600; text-align: right;
  border-bottom: 2px solid var(--ink); }
th[scope=row] { position: sticky; left: 0; background: var(--paper); text-align: left;
  border-right: 2px solid var(--ink); }
thead th:first-child { left: 0; z-index: 2; text-align: left; border-right: 2px solid var(--ink); }
table.tableau th.rhs, table.tableau td.rhs { border-left: 2px solid var(--ink); }
table.tableau tr.objective th, table.tableau tr.objective td { border-top: 2px solid var(--ink); }
.entering { background: var(--enter); border-left: 2px dashed var(--accent); border-right: 2px dashed var(--accent); }
tr.leaving > td, tr.leaving > th { background: var(--leave); border-top: 2px dashed #cf222e;
  border-bottom: 2px dashed #cf222e; }
tr.leaving > td.entering { background: var(--pivot); }
td.pivot { background: var(--pivot); outline: 3px solid var(--ink); outline-offset: -3px; font-weight: 700; }
.mark { display: block; font-size: 11px; font-weight: 600; color: var(--muted); }
.report { margin: 1.6rem 0; scroll-margin-top: 1rem; }
/* A grid far out of view is laid out once it comes near: a run of hundreds of wide grids stays light. */
.report { content-visibility: auto; contain-intrinsic-size: auto 30rem; }
.report:focus { outline: none; }
.report header { display: flex; flex-wrap: wrap; gap: .4rem 1rem; align-items: baseline; }
.status { font-weight: 600; padding: 0 .45rem; border-radius: 4px; border: 1px solid currentColor; }
.status.optimal { color: #1a7f37; }
.status.suboptimal { color: var(--muted); }
.status.none { color: #cf222e; }
.step { margin: .3rem 0; }
.rule { color: var(--muted); margin: .2rem 0; max-width: 60rem; }
table.steps td:nth-child(3), table.steps td:nth-child(4) { font-weight: 600; }
table.steps :is(td, th):is(:nth-child(2), :nth-child(3), :nth-child(4), :nth-child(6)) { text-align: left; }
table.steps th[scope=row] { text-align: right; font-weight: 400; }
table.steps td.words { font-family: system-ui, sans-serif; text-align: left; }
table.matrix td { min-width: 2.5rem; }
.links a { font-weight: 600; margin-right: 1.5rem; }
@media print {
  body { font-size: 11pt; }
  main { max-width: none; padding: 0; }
  .keys { display: none; }
  .scroll { overflow: visible; border: 0; }
  .report, .scroll, table.tableau, .bars { break-inside: avoid; page-break-inside: avoid; }
  .report { content-visibility: visible; }
  thead th, th[scope=row] { position: static; }
  td.pivot { outline: 2px solid #000; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
}
)css";

// j/k, n/p and the arrow keys move from one tableau to the next.
constexpr std::string_view Script = R"js(
(() => {
  // A wide grid starts scrolled to its pivot, once it comes near the view:
  // measuring the grids out of view would lay them all out.
  const toPivot = (td) => {
    const box = td.closest('.scroll');
    const left = td.getBoundingClientRect().left - box.getBoundingClientRect().left;
    if (left + td.offsetWidth > box.clientWidth) box.scrollLeft = left - box.clientWidth / 2;
  };
  const pivots = Array.from(document.querySelectorAll('td.pivot'));
  if ('IntersectionObserver' in window) {
    const near = new IntersectionObserver((entries) => {
      for (const entry of entries) {
        if (!entry.isIntersecting) continue;
        near.unobserve(entry.target);
        toPivot(entry.target.querySelector('td.pivot'));
      }
    }, { rootMargin: '200px' });
    for (const td of pivots) near.observe(td.closest('.scroll'));
  } else {
    pivots.forEach(toPivot);
  }
  const reports = Array.from(document.querySelectorAll('section.report'));
  if (!reports.length) return;
  document.addEventListener('keydown', (event) => {
    if (event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return;
    const forward = ['j', 'n', 'ArrowRight'].includes(event.key);
    const back = ['k', 'p', 'ArrowLeft'].includes(event.key);
    if (!forward && !back) return;
    // The report at the top of the window: the last whose top is above its
    // scroll margin and a little more.
    let at = -1;
    reports.forEach((r, i) => { if (r.getBoundingClientRect().top <= 40) at = i; });
    const target = Math.min(reports.length - 1, forward ? at + 1 : at - 1);
    if (target < 0) return;
    event.preventDefault();
    reports[target].scrollIntoView({ block: 'start' });
    reports[target].focus({ preventScroll: true });
  });
})();
)js";

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
          escaped += "\xEF\xBF\xBD";
        else
          escaped += c;
    }
  }
  return escaped;
}

void WritePageHead(std::ostream& out, const std::string& title) {
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
         "style-src 'unsafe-inline'; script-src 'unsafe-inline'\">\n<title>"
      << HtmlEscape(title) << "</title>\n<style>" << Style << "</style>\n</head>\n<body>\n<main>\n";
}

void WritePageFoot(std::ostream& out) {
  out << "</main>\n<script>" << Script << "</script>\n</body>\n</html>\n";
}
