// Draws every picture of the launcher and the updater into a resources folder.
// Usage: artgen <resources dir>. The output is deterministic, so re-running it after a
// change to one picture only changes that picture's file.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <functional>

#include "artkit.h"

using namespace ArtKit;

namespace {

QString g_out;
int g_failures = 0;

void save(const QString &name, const QImage &image)
{
    const QString path = g_out + "/" + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG", 9)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++g_failures;
    }
}

QImage draw(int w, int h, const std::function<void(QPainter &)> &fn)
{
    QImage image = newImage(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    fn(p);
    return image;
}

const QColor kInk("#393b40");
const QColor kGold("#f4d8a8");
const QColor kBrightGold("#ffd846");

QPainterPath emblemPath(QPointF c, double r)
{
    // A crescent moon embracing a four-pointed star.
    QPainterPath moon;
    moon.addEllipse(c, r, r);
    QPainterPath bite;
    bite.addEllipse(c + QPointF(r * 0.42, -r * 0.22), r * 0.86, r * 0.86);
    QPainterPath crescent = moon.subtracted(bite);
    QPainterPath star;
    const QPointF sc = c + QPointF(r * 0.36, -r * 0.1);
    const double a = r * 0.52, b = r * 0.12;
    star.moveTo(sc + QPointF(0, -a));
    star.quadTo(sc + QPointF(b, -b), sc + QPointF(a, 0));
    star.quadTo(sc + QPointF(b, b), sc + QPointF(0, a));
    star.quadTo(sc + QPointF(-b, b), sc + QPointF(-a, 0));
    star.quadTo(sc + QPointF(-b, -b), sc + QPointF(0, -a));
    return crescent.united(star);
}

QLinearGradient goldFill(double top, double bottom)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, QColor("#fff3c8"));
    g.setColorAt(0.45, QColor("#f3c865"));
    g.setColorAt(0.55, QColor("#d99a34"));
    g.setColorAt(1, QColor("#ffe08a"));
    return g;
}

void drawEmblem(QPainter &p, QPointF c, double r)
{
    const QPainterPath path = emblemPath(c, r);
    for (int i = 4; i >= 1; --i)
        p.strokePath(path, QPen(QColor(255, 200, 110, 16), r * 0.06 * i, Qt::SolidLine,
                                Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, goldFill(c.y() - r, c.y() + r));
    p.strokePath(path, QPen(QColor(90, 52, 12, 200), std::max(0.8, r * 0.03)));
}

// origin is the baseline's left end, or its centre when centred is set.
void drawLogo(QPainter &p, QPointF origin, double scale, bool centred = false)
{
    QFont font("Noto Serif CJK SC");
    font.setPixelSize(int(66 * scale));
    font.setWeight(QFont::Black);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 6 * scale);
    QPainterPath title;
    title.addText(origin, font, "ORVYNDALE");
    if (centred)
        title.translate(-title.boundingRect().width() / 2 - 3 * scale, 0);
    const QRectF box = title.boundingRect();
    for (int i = 6; i >= 1; --i)
        p.strokePath(title, QPen(QColor(255, 190, 90, 10), 3.0 * i * scale, Qt::SolidLine,
                                 Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(title, QPen(QColor(40, 20, 5, 230), 3.0 * scale));
    p.fillPath(title, goldFill(box.top(), box.bottom()));

    // Ornamental rule with a diamond, then the subtitle.
    const double y = box.bottom() + 20 * scale;
    const double cx = box.center().x();
    QLinearGradient rule(box.left(), 0, box.right(), 0);
    rule.setColorAt(0, QColor(244, 205, 120, 0));
    rule.setColorAt(0.5, QColor(244, 205, 120, 220));
    rule.setColorAt(1, QColor(244, 205, 120, 0));
    p.setPen(QPen(QBrush(rule), 1.2 * scale));
    p.drawLine(QPointF(box.left(), y), QPointF(cx - 12 * scale, y));
    p.drawLine(QPointF(cx + 12 * scale, y), QPointF(box.right(), y));
    QPolygonF diamond;
    const double d = 5 * scale;
    diamond << QPointF(cx, y - d) << QPointF(cx + d, y) << QPointF(cx, y + d) << QPointF(cx - d, y);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#f4cd78"));
    p.drawPolygon(diamond);

    QFont sub("Noto Serif CJK SC");
    sub.setPixelSize(int(15 * scale));
    sub.setWeight(QFont::DemiBold);
    sub.setLetterSpacing(QFont::AbsoluteSpacing, 5 * scale);
    p.setFont(sub);
    p.setPen(QColor(236, 226, 205, 225));
    p.drawText(QRectF(box.left() - 40, y + 8 * scale, box.width() + 80, 30 * scale),
               Qt::AlignHCenter | Qt::AlignTop, "CHRONICLES OF THE MOONLIT VALE");
}

// Page background -----------------------------------------------------------------------

QImage pageBackground()
{
    return draw(1280, 730, [](QPainter &p) {
        SceneOptions o;
        drawScene(p, {1280, 730}, o);
        // Darken the left third a little so the news panel and the logo stand out.
        QLinearGradient side(0, 0, 640, 0);
        side.setColorAt(0, QColor(3, 5, 12, 150));
        side.setColorAt(1, QColor(3, 5, 12, 0));
        p.fillRect(QRectF(0, 0, 640, 730), side);
        drawLogo(p, QPointF(74, 168), 1.0);
    });
}

QImage bottomMask()
{
    return draw(1280, 224, [](QPainter &p) {
        QLinearGradient g(0, 0, 0, 224);
        g.setColorAt(0, QColor(4, 6, 12, 0));
        g.setColorAt(0.45, QColor(4, 6, 12, 150));
        g.setColorAt(1, QColor(4, 6, 12, 235));
        p.fillRect(QRectF(0, 0, 1280, 224), g);
    });
}

// Glyph buttons -------------------------------------------------------------------------

enum class Glyph { Close, Minimise, Settings, Pause, Play };

void drawGlyph(QPainter &p, Glyph glyph, QPointF c, double size, QColor colour, double stroke)
{
    QPen pen(colour, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const double h = size / 2;
    switch (glyph) {
    case Glyph::Close:
        p.setPen(pen);
        p.drawLine(c + QPointF(-h, -h), c + QPointF(h, h));
        p.drawLine(c + QPointF(h, -h), c + QPointF(-h, h));
        break;
    case Glyph::Minimise:
        p.setPen(pen);
        p.drawLine(c + QPointF(-h, 0), c + QPointF(h, 0));
        break;
    case Glyph::Settings: {
        QPainterPath gear;
        const int teeth = 8;
        const double ro = h, ri = h * 0.74;
        for (int i = 0; i < teeth * 4; ++i) {
            const double a = (i / double(teeth * 4)) * 2 * M_PI;
            const double r = (i % 4 == 0 || i % 4 == 1) ? ro : ri;
            const QPointF pt = c + QPointF(std::cos(a) * r, std::sin(a) * r);
            if (i == 0)
                gear.moveTo(pt);
            else
                gear.lineTo(pt);
        }
        gear.closeSubpath();
        QPainterPath hole;
        hole.addEllipse(c, h * 0.32, h * 0.32);
        p.fillPath(gear.subtracted(hole), colour);
        break;
    }
    case Glyph::Pause:
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRoundedRect(QRectF(c.x() - h * 0.62, c.y() - h * 0.7, h * 0.44, h * 1.4), 1, 1);
        p.drawRoundedRect(QRectF(c.x() + h * 0.18, c.y() - h * 0.7, h * 0.44, h * 1.4), 1, 1);
        break;
    case Glyph::Play: {
        QPolygonF tri;
        tri << c + QPointF(-h * 0.45, -h * 0.72) << c + QPointF(h * 0.75, 0)
            << c + QPointF(-h * 0.45, h * 0.72);
        p.setPen(QPen(colour, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(colour);
        p.drawPolygon(tri);
        break;
    }
    }
}

// Title-bar buttons on the page's #141414 bar.
QImage titleButton(Glyph glyph, int state)
{
    return draw(30, 30, [=](QPainter &p) {
        const bool close = glyph == Glyph::Close;
        QColor bg = Qt::transparent;
        QColor fg("#8f949b");
        if (state == 1) {
            bg = close ? QColor("#d9453c") : QColor("#2b2e34");
            fg = Qt::white;
        } else if (state == 2) {
            bg = close ? QColor("#a8322b") : QColor("#202227");
            fg = QColor("#d6d6d6");
        }
        p.setPen(Qt::NoPen);
        p.setBrush(bg);
        p.drawRect(QRectF(0, 0, 30, 30));
        const double size = glyph == Glyph::Settings ? 13 : 10;
        drawGlyph(p, glyph, QPointF(15, 15), size, fg, 1.4);
    });
}

// Title-bar buttons of the updater, which sit directly on its artwork.
QImage updaterButton(Glyph glyph, int state)
{
    return draw(30, 30, [=](QPainter &p) {
        const bool close = glyph == Glyph::Close;
        QColor bg = Qt::transparent;
        QColor fg(255, 255, 255, 210);
        if (state == 1) {
            bg = close ? QColor(217, 69, 60, 230) : QColor(255, 255, 255, 40);
            fg = Qt::white;
        } else if (state == 2) {
            bg = close ? QColor(168, 50, 43, 230) : QColor(0, 0, 0, 70);
            fg = QColor(230, 230, 230);
        } else if (state == 3) {
            fg = QColor(255, 255, 255, 70);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(bg);
        p.drawRect(QRectF(0, 0, 30, 30));
        drawGlyph(p, glyph, QPointF(15, 15), 10, fg, 1.5);
    });
}

// The round pause/resume button beside the progress bar.
QImage progressButton(Glyph glyph, int state)
{
    return draw(30, 30, [=](QPainter &p) {
        QColor ring(255, 255, 255, 170), fill(0, 0, 0, 70), fg(255, 255, 255, 225);
        if (state == 1) {
            ring = kBrightGold;
            fill = QColor(255, 216, 70, 40);
            fg = kBrightGold;
        } else if (state == 2) {
            ring = QColor("#d9a92e");
            fill = QColor(217, 169, 46, 90);
            fg = QColor("#ffe58a");
        }
        p.setPen(QPen(ring, 1.5));
        p.setBrush(fill);
        p.drawEllipse(QPointF(15, 15), 13.5, 13.5);
        drawGlyph(p, glyph, QPointF(15, 15), 12, fg, 1.5);
    });
}

QImage changeIcon()
{
    return draw(18, 18, [](QPainter &p) {
        // A folder with a curved arrow: "move the install folder".
        const QColor c = kBrightGold;
        QPainterPath folder;
        folder.moveTo(1.5, 4.5);
        folder.lineTo(6.5, 4.5);
        folder.lineTo(8, 6);
        folder.lineTo(15.5, 6);
        folder.lineTo(15.5, 14.5);
        folder.lineTo(1.5, 14.5);
        folder.closeSubpath();
        p.setPen(QPen(c, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(255, 216, 70, 40));
        p.drawPath(folder);
        QPainterPath arrow;
        arrow.moveTo(5.5, 12);
        arrow.quadTo(6, 8.5, 10.5, 8.8);
        p.setBrush(Qt::NoBrush);
        p.drawPath(arrow);
        p.drawLine(QPointF(10.5, 8.8), QPointF(8.8, 7.4));
        p.drawLine(QPointF(10.5, 8.8), QPointF(9.0, 10.4));
    });
}

// Dialog pieces ------------------------------------------------------------------------

void paperCard(QPainter &p, QRectF r, double radius, double bracket)
{
    QLinearGradient paper(0, r.top(), 0, r.bottom());
    paper.setColorAt(0, QColor("#fdfbf7"));
    paper.setColorAt(1, QColor("#f2ede3"));
    p.setPen(QPen(QColor(196, 178, 140, 150), 1));
    p.setBrush(paper);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    // A gold hairline frame with corner brackets, inset from the edge.
    const QRectF in = r.adjusted(6.5, 6.5, -6.5, -6.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(212, 169, 79, 70), 1));
    p.drawRoundedRect(in, 3, 3);
    p.setPen(QPen(QColor(200, 150, 60, 190), 1.6, Qt::SolidLine, Qt::SquareCap));
    const double b = bracket;
    const QPointF corners[] = {in.topLeft(), in.topRight(), in.bottomLeft(), in.bottomRight()};
    for (const QPointF &c : corners) {
        const double sx = c.x() < r.center().x() ? 1 : -1;
        const double sy = c.y() < r.center().y() ? 1 : -1;
        p.drawLine(c, c + QPointF(sx * b, 0));
        p.drawLine(c, c + QPointF(0, sy * b));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 150, 60, 190));
        p.drawEllipse(c + QPointF(sx * 4, sy * 4), 1.4, 1.4);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(200, 150, 60, 190), 1.6, Qt::SolidLine, Qt::SquareCap));
    }
}

QImage dialogCard(int w, int h)
{
    return draw(w, h, [=](QPainter &p) { paperCard(p, QRectF(0, 0, w, h), 8, 14); });
}

QImage dialogClose(int state)
{
    return draw(20, 20, [=](QPainter &p) {
        QColor fg = state == 0 ? QColor("#a39d92") : state == 1 ? kInk : QColor("#c9962e");
        if (state > 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(57, 59, 64, state == 1 ? 22 : 36));
            p.drawEllipse(QPointF(10, 10), 9.5, 9.5);
        }
        drawGlyph(p, Glyph::Close, QPointF(10, 10), 8, fg, 1.5);
    });
}

QImage star()
{
    return draw(20, 20, [](QPainter &p) {
        glow(p, QPointF(10, 10), 10, QColor(255, 200, 90, 70));
        QPainterPath s;
        const QPointF c(10, 10);
        const double a = 8.5, b = 1.8;
        s.moveTo(c + QPointF(0, -a));
        s.quadTo(c + QPointF(b, -b), c + QPointF(a, 0));
        s.quadTo(c + QPointF(b, b), c + QPointF(0, a));
        s.quadTo(c + QPointF(-b, b), c + QPointF(-a, 0));
        s.quadTo(c + QPointF(-b, -b), c + QPointF(0, -a));
        QLinearGradient g(0, 1, 0, 19);
        g.setColorAt(0, QColor("#ffe9a8"));
        g.setColorAt(1, QColor("#d4962e"));
        p.fillPath(s, g);
        p.strokePath(s, QPen(QColor(150, 95, 25, 160), 0.7));
    });
}

QImage checkBox(bool checked, int state)
{
    return draw(24, 24, [=](QPainter &p) {
        const QRectF box(3.5, 3.5, 17, 17);
        if (checked) {
            const QColor fill = state == 0   ? kInk
                                : state == 1 ? QColor("#4d4f53")
                                             : QColor("#2f3135");
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawRoundedRect(box, 3.5, 3.5);
            QPainterPath tick;
            tick.moveTo(7.5, 12.2);
            tick.lineTo(10.6, 15.2);
            tick.lineTo(16.6, 8.8);
            p.setPen(QPen(kGold, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(tick);
        } else {
            const QColor border = state == 0   ? QColor("#c6bfb1")
                                  : state == 1 ? QColor("#d4a94f")
                                               : QColor("#b98c33");
            const QColor fill = state == 0   ? QColor("#ffffff")
                                : state == 1 ? QColor("#fffaf0")
                                             : QColor("#f3e7cc");
            p.setPen(QPen(border, 1.5));
            p.setBrush(fill);
            p.drawRoundedRect(box, 3.5, 3.5);
        }
    });
}

QImage radio(bool selected, int state)
{
    return draw(24, 24, [=](QPainter &p) {
        const QPointF c(12, 12);
        if (selected) {
            const QColor ring = state == 0   ? kInk
                                : state == 1 ? QColor("#4d4f53")
                                             : QColor("#2f3135");
            p.setPen(Qt::NoPen);
            p.setBrush(ring);
            p.drawEllipse(c, 9, 9);
            p.setBrush(kGold);
            p.drawEllipse(c, 3.8, 3.8);
        } else {
            const QColor border = state == 0   ? QColor("#c6bfb1")
                                  : state == 1 ? QColor("#d4a94f")
                                               : QColor("#b98c33");
            const QColor fill = state == 0   ? QColor("#ffffff")
                                : state == 1 ? QColor("#fffaf0")
                                             : QColor("#f3e7cc");
            p.setPen(QPen(border, 1.5));
            p.setBrush(fill);
            p.drawEllipse(c, 8.5, 8.5);
        }
    });
}

void softShadow(QPainter &p, QRectF r, double radius, int spread)
{
    p.setPen(Qt::NoPen);
    for (int i = spread; i >= 1; --i) {
        const double t = 1.0 - double(i) / (spread + 1);
        p.setBrush(QColor(0, 0, 0, int(10 * t * t + 1)));
        p.drawRoundedRect(r.adjusted(-i, -i + 3, i, i + 3), radius + i, radius + i);
    }
}

QImage installDialog()
{
    return draw(740, 536, [](QPainter &p) {
        const QRectF art(14, 58, 300, 462);
        const QRectF card(292, 96, 434, 396);
        softShadow(p, art, 10, 12);
        softShadow(p, card, 8, 12);

        // Left: a window onto the valley with the emblem and the game's name.
        QImage scene = newImage(int(art.width()), int(art.height()));
        {
            QPainter sp(&scene);
            SceneOptions o;
            o.scale = 0.55;
            o.moon = QPointF(200, 120);
            o.moonRadius = 34;
            o.seed = 21;
            drawScene(sp, scene.size(), o);
            QLinearGradient fade(0, 0, 0, scene.height());
            fade.setColorAt(0.55, QColor(5, 7, 14, 0));
            fade.setColorAt(1, QColor(5, 7, 14, 220));
            sp.fillRect(scene.rect(), fade);
        }
        QPainterPath clip;
        clip.addRoundedRect(art, 10, 10);
        p.save();
        p.setClipPath(clip);
        p.drawImage(art.topLeft(), scene);
        p.restore();
        p.setPen(QPen(QColor(230, 190, 110, 150), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(art.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
        p.setPen(QPen(QColor(230, 190, 110, 70), 1));
        p.drawRoundedRect(art.adjusted(6.5, 6.5, -6.5, -6.5), 6, 6);
        drawEmblem(p, QPointF(art.center().x() - 4, art.bottom() - 138), 30);
        drawLogo(p, QPointF(art.center().x(), art.bottom() - 62), 0.36, true);

        paperCard(p, card, 8, 14);
    });
}

// Updater pictures ----------------------------------------------------------------------

QImage updaterScene(int kind)
{
    return draw(710, 400, [=](QPainter &p) {
        SceneOptions o;
        o.scale = 0.6;
        o.moon = QPointF(560, 110);
        o.moonRadius = 38;
        o.seed = 5;
        if (kind == 1) { // success: the first light of dawn
            o.skyTop = QColor("#0c1830");
            o.skyMid = QColor("#1f3a5c");
            o.skyHorizon = QColor("#c98a5a");
            o.horizonGlow = QColor(255, 200, 120);
            o.lanternColour = QColor(255, 222, 140);
        } else if (kind == 2) { // failure: embers under a dim sky
            o.skyTop = QColor("#0b0709");
            o.skyMid = QColor("#231316");
            o.skyHorizon = QColor("#5a2320");
            o.horizonGlow = QColor(255, 90, 60);
            o.lanternColour = QColor(255, 110, 70);
            o.castle = false;
        }
        drawScene(p, {710, 400}, o);
        if (kind == 2)
            p.fillRect(QRectF(0, 0, 710, 400), QColor(30, 4, 4, 90));
        // A calm band across the middle for the white result texts.
        QLinearGradient band(0, 120, 0, 320);
        band.setColorAt(0, QColor(0, 0, 0, 0));
        band.setColorAt(0.5, QColor(0, 0, 0, 90));
        band.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(QRectF(0, 120, 710, 200), band);
    });
}

QImage appIcon(int size)
{
    return draw(size, size, [=](QPainter &p) {
        const double s = size;
        const QRectF r(s * 0.03, s * 0.03, s * 0.94, s * 0.94);
        QLinearGradient bg(0, 0, 0, s);
        bg.setColorAt(0, QColor("#1d2847"));
        bg.setColorAt(1, QColor("#0a0e1a"));
        p.setPen(QPen(QColor("#e2b458"), std::max(1.0, s / 40.0)));
        p.setBrush(bg);
        p.drawRoundedRect(r, s * 0.2, s * 0.2);
        if (size >= 32)
            glow(p, QPointF(s * 0.5, s * 0.48), s * 0.45, QColor(255, 210, 120, 60));
        drawEmblem(p, QPointF(s * 0.47, s * 0.5), s * 0.32);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: artgen <resources dir>\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);

    const char *states[] = {"n", "o", "d"};
    save("pic/bg.png", pageBackground());
    save("pic/bg_mask.png", bottomMask());
    for (int i = 0; i < 3; ++i) {
        const QString st = states[i];
        save("pic/btn_close_" + st + ".png", titleButton(Glyph::Close, i));
        save("pic/btn_min_" + st + ".png", titleButton(Glyph::Minimise, i));
        save("pic/btn_set_" + st + ".png", titleButton(Glyph::Settings, i));
        save("pic/main_btn_" + st + ".png", goldButton(238, 64, i));
        save("pic/btn_" + st + ".png", goldButton(390, 64, i));
        // "continue" is the running download, so it offers pause; "pause" offers resume.
        save("pic/continue_" + st + ".png", progressButton(Glyph::Pause, i));
        save("pic/pause_" + st + ".png", progressButton(Glyph::Play, i));
        save("pic/dialog_close_" + st + ".png", dialogClose(i));
        save("pic/check_" + st + ".png", checkBox(true, i));
        save("pic/uncheck_" + st + ".png", checkBox(false, i));
        save("pic/radio_s_" + st + ".png", radio(true, i));
        save("pic/radio_" + st + ".png", radio(false, i));
        save("pic/btn/btn_close_" + st + ".png", updaterButton(Glyph::Close, i));
        save("pic/btn/btn_min_" + st + ".png", updaterButton(Glyph::Minimise, i));
    }
    save("pic/btn/btn_close_dis.png", updaterButton(Glyph::Close, 3));
    save("pic/change.png", changeIcon());
    save("pic/star.png", star());
    save("pic/dlg_bg.png", dialogCard(460, 270));
    save("pic/setdlg.png", installDialog());
    save("pic/bg/dlg_bg.png", dialogCard(480, 314));
    save("pic/bg/updateIng.png", updaterScene(0));
    save("pic/bg/updateSucceed.png", updaterScene(1));
    save("pic/bg/updateFaile.png", updaterScene(2));

    std::vector<QImage> icons;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icons.push_back(appIcon(size));
    QDir().mkpath(g_out + "/icon");
    if (!saveIco(g_out + "/icon/launcher.ico", icons)) {
        std::fprintf(stderr, "cannot write the icon\n");
        ++g_failures;
    }
    save("icon/launcher.png", icons.back());
    return g_failures == 0 ? 0 : 1;
}
