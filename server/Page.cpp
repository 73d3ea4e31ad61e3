// The board's own page: both top tens, each run with a link that watches it in the browser
// build, and how to take part. Plain HTML with a little CSS; no script.
#include <ctime>

#include "server/Board.h"
#include "server/Names.h"

namespace board {

namespace {

std::string Date(int64_t seconds)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    char text[32] = "";
    if (gmtime_r(&time, &utc))
        std::strftime(text, sizeof text, "%Y-%m-%d", &utc);
    return text;
}

std::string Table(RunStore& store, int length, const char* caption)
{
    std::string html = "<section><h2>" + std::string(caption) + "</h2>\n";
    const std::vector<RankedRun> top = store.Top(length, 10);
    if (top.empty())
        return html + "<p class=\"empty\">No runs yet.</p></section>\n";
    html += "<table><tr><th>#</th><th>name</th><th>score</th><th>recorded</th><th></th></tr>\n";
    for (const RankedRun& ranked : top) {
        const std::string id = std::to_string(ranked.run.id);
        html += "<tr><td>" + std::to_string(ranked.rank) + "</td><td>" +
                EscapeHtml(ranked.run.name) + "</td><td class=\"score\">" +
                std::to_string(ranked.run.score) + "</td><td>" + Date(ranked.run.recorded) +
                "</td><td><a href=\"/play/?replay=/runs/" + id + ".krp\">watch</a></td></tr>\n";
    }
    return html + "</table></section>\n";
}

constexpr const char* kHead = R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Korimo Shooting: the board</title>
<style>
body { background: #10131c; color: #e8e8f0; font: 16px/1.5 sans-serif; margin: 2em auto;
       max-width: 44em; padding: 0 1em; }
h1 { font-size: 1.6em; margin-bottom: 0.2em; }
.boards { display: flex; flex-wrap: wrap; gap: 2em; }
section { flex: 1 1 18em; }
table { border-collapse: collapse; width: 100%; }
th, td { padding: 0.2em 0.5em; text-align: left; border-bottom: 1px solid #2c3244;
         white-space: nowrap; }
td.score { text-align: right; font-variant-numeric: tabular-nums; }
a { color: #7cc4ff; }
.empty { color: #8890a8; }
</style></head><body>
<h1>Korimo Shooting: the board</h1>
<p>Every score here was played again by the board from its replay, frame by frame.</p>
<div class="boards">
)";

constexpr const char* kHowTo = R"(</div>
<h2>Taking part</h2>
<ol>
<li>Play a one-minute or five-minute run in Korimo Shooting; the game keeps its replay.</li>
<li>Upload the replay with your name: the board verifies it by playing it again.</li>
<li>A verified run is ranked here under your name, which stays yours on this board.</li>
</ol>
</body></html>
)";

}  // namespace

Reply Board::Page()
{
    return {200, kHead + Table(store, 1, "One minute") + Table(store, 5, "Five minutes") + kHowTo,
            "text/html; charset=utf-8"};
}

}  // namespace board
