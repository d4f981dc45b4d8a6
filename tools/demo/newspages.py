#!/usr/bin/env python3
"""Writes the demo's news pages into a site folder, where the launcher's web view finds them."""
import argparse
import os

NEWS_PAGE = """<!doctype html>
<html><head><meta charset="utf-8"><title>Orvyndale</title>
<style>
 html,body{margin:0;height:100%;background:transparent;font-family:'Noto Sans CJK SC','DejaVu Sans',sans-serif;color:#f2f2f2}
 .panel{position:absolute;left:50px;top:250px;width:420px;padding:22px 26px;border-radius:10px;
   background:linear-gradient(160deg,rgba(20,24,34,.86),rgba(12,14,20,.72));box-shadow:0 10px 40px rgba(0,0,0,.45);
   border:1px solid rgba(255,216,70,.18)}
 h1{margin:0 0 6px;font-size:26px;letter-spacing:2px;color:#ffd846}
 .sub{font-size:13px;color:#9aa3b5;margin-bottom:16px}
 ul{list-style:none;margin:0;padding:0}
 li{padding:10px 0;border-top:1px solid rgba(255,255,255,.08);font-size:14px;display:flex;justify-content:space-between}
 li span.tag{color:#ffd846;margin-right:10px} li span.date{color:#7f8799;font-size:12px}
</style></head>
<body><div class="panel">
 <h1>ORVYNDALE</h1><div class="sub">__SUB__</div>
 <ul>__ITEMS__</ul>
</div></body></html>
"""


NEWS = {
    "zh": ("第三赛季 &middot; 沉没海岸", [
        ("新闻", "1.0.0 版本更新说明：潮汐、航船与新港口", "12-01"),
        ("活动", "灯笼节本周末开启", "11-28"),
        ("攻略", "海岸古道新手指引", "11-20"),
        ("公告", "周二 06:00 服务器维护", "11-18"),
    ]),
    "en": ("season 3 &middot; the drowned coast", [
        ("NEWS", "Patch 1.0.0 notes: tides, ships and a new harbour", "12-01"),
        ("EVENT", "Lantern festival opens this weekend", "11-28"),
        ("GUIDE", "First steps on the coast road", "11-20"),
        ("NOTICE", "Server maintenance, Tuesday 06:00", "11-18"),
    ]),
}


def news_page(lang):
    sub, items = NEWS["zh" if lang.startswith("zh") else "en"]
    rows = "".join(
        f'<li><span><span class="tag">{tag}</span>{title}</span><span class="date">{date}</span></li>'
        for tag, title, date in items)
    return NEWS_PAGE.replace("__SUB__", sub).replace("__ITEMS__", rows)


LANGUAGES = ["zh-cn", "zh-tw", "en-us", "pt-pt", "fr-fr", "de-de", "es-es", "ru-ru", "ko-kr",
             "th-th", "id-id", "ja-jp", "vi-vn"]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--site", required=True, help="site folder made by lunmere-publish")
    args = parser.parse_args()
    folder = os.path.join(args.site, "web", "18")
    os.makedirs(folder, exist_ok=True)
    # Without a suffix: the launcher asks for web/18/<language>; the first byte tells a server
    # that it is HTML.
    for lang in LANGUAGES + ["event"]:
        with open(os.path.join(folder, lang), "w", encoding="utf-8") as f:
            f.write(news_page(lang))


if __name__ == "__main__":
    main()
