#include "artkit.h"

#include <QBuffer>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtEndian>

#include <cmath>

namespace ArtKit {

Noise1D::Noise1D(unsigned seed, int lattice)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> dist(0.0, 1.0);
    m_values.resize(lattice);
    for (double &v : m_values)
        v = dist(rng);
}

double Noise1D::value(double x) const
{
    const int n = int(m_values.size());
    const double fl = std::floor(x);
    const int i = ((int(fl) % n) + n) % n;
    const double t = x - fl;
    const double s = t * t * (3 - 2 * t);
    return m_values[i] * (1 - s) + m_values[(i + 1) % n] * s;
}

double Noise1D::fbm(double x, int octaves, double persistence) const
{
    double sum = 0, amp = 1, norm = 0, freq = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * value(x * freq + o * 37.0);
        norm += amp;
        amp *= persistence;
        freq *= 2.0;
    }
    return sum / norm;
}

QImage newImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QPainterPath ridge(const Noise1D &noise, double x0, double x1, double baseY, double amplitude,
                   double frequency, double bottomY, int octaves, double sharpness)
{
    QPainterPath path;
    path.moveTo(x0, bottomY);
    for (double x = x0; x <= x1 + 2; x += 2) {
        double n = noise.fbm(x * frequency, octaves);
        // Folding the noise gives sharper peaks than plain fbm.
        n = 1.0 - std::pow(std::abs(n * 2 - 1), sharpness);
        path.lineTo(x, baseY - n * amplitude);
    }
    path.lineTo(x1 + 2, bottomY);
    path.closeSubpath();
    return path;
}

void glow(QPainter &p, QPointF centre, double radius, QColor colour)
{
    QRadialGradient g(centre, radius);
    QColor c0 = colour;
    QColor c1 = colour;
    c1.setAlphaF(colour.alphaF() * 0.35);
    QColor c2 = colour;
    c2.setAlpha(0);
    g.setColorAt(0, c0);
    g.setColorAt(0.3, c1);
    g.setColorAt(1, c2);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

void stars(QPainter &p, std::mt19937 &rng, QRectF area, int count, double horizonFade)
{
    std::uniform_real_distribution<double> ux(area.left(), area.right());
    std::uniform_real_distribution<double> u01(0.0, 1.0);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const double x = ux(rng);
        // More stars high up, thinning towards the horizon.
        const double t = std::pow(u01(rng), 1.6);
        const double y = area.top() + t * area.height();
        const double fade = 1.0 - std::pow(t, horizonFade);
        const double size = 0.4 + std::pow(u01(rng), 3) * 1.4;
        const double alpha = (0.25 + 0.75 * u01(rng)) * fade;
        const bool warm = u01(rng) < 0.2;
        QColor c = warm ? QColor(255, 230, 190) : QColor(210, 225, 255);
        c.setAlphaF(alpha);
        p.setBrush(c);
        p.drawEllipse(QPointF(x, y), size, size);
        if (size > 1.45 && alpha > 0.6) {
            QColor g = c;
            g.setAlphaF(alpha * 0.35);
            glow(p, QPointF(x, y), size * 5, g);
            QPen glint(g, 0.6);
            p.setPen(glint);
            p.drawLine(QPointF(x - size * 5, y), QPointF(x + size * 5, y));
            p.drawLine(QPointF(x, y - size * 5), QPointF(x, y + size * 5));
            p.setPen(Qt::NoPen);
        }
    }
}

QImage goldButton(int width, int height, int state)
{
    QImage image = newImage(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(0.5, 0.5, width - 1.0, height - 1.0);
    const double radius = 6;

    QColor top("#ffe7a1"), mid("#f6c95a"), bottom("#e0a23a");
    if (state == 1) {
        top = QColor("#fff2c4");
        mid = QColor("#ffd870");
        bottom = QColor("#eeb24a");
    } else if (state == 2) {
        top = QColor("#e9c877");
        mid = QColor("#dcab45");
        bottom = QColor("#c98e2c");
    }
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, top);
    fill.setColorAt(0.48, mid);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(QColor(120, 72, 20, 200), 1));
    p.setBrush(fill);
    p.drawRoundedRect(outer, radius, radius);

    // Inner bevel: a light line under the top edge and a soft sheen on the upper half.
    const QRectF inner = outer.adjusted(2, 2, -2, -2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 250, 225, state == 2 ? 70 : 150), 1));
    p.drawRoundedRect(inner, radius - 2, radius - 2);
    QLinearGradient sheen(0, 0, 0, height / 2.0);
    sheen.setColorAt(0, QColor(255, 255, 255, state == 2 ? 20 : 70));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRoundedRect(QRectF(inner.left(), inner.top(), inner.width(), inner.height() / 2),
                      radius - 2, radius - 2);

    // Small diamonds at both ends, the house ornament.
    const double cy = height / 2.0;
    const double d = std::max(3.0, height / 14.0);
    QColor orn(130, 80, 25, state == 2 ? 110 : 150);
    p.setBrush(orn);
    for (double cx : {14.0, width - 14.0}) {
        QPolygonF diamond;
        diamond << QPointF(cx, cy - d) << QPointF(cx + d, cy) << QPointF(cx, cy + d)
                << QPointF(cx - d, cy);
        p.drawPolygon(diamond);
    }
    p.setPen(QPen(orn, 1));
    p.drawLine(QPointF(14 + d + 3, cy), QPointF(30 + d, cy));
    p.drawLine(QPointF(width - 14 - d - 3, cy), QPointF(width - 30 - d, cy));
    if (state == 1) {
        QLinearGradient shine(0, 0, width, 0);
        shine.setColorAt(0, QColor(255, 255, 255, 0));
        shine.setColorAt(0.5, QColor(255, 255, 255, 60));
        shine.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(shine);
        p.drawRoundedRect(inner, radius - 2, radius - 2);
    }
    return image;
}

namespace {

void castle(QPainter &p, double x, double groundY, double s, QColor body, QColor window)
{
    struct Tower
    {
        double dx, w, h, roof;
    };
    const Tower towers[] = {{-46, 12, 58, 26}, {-28, 16, 86, 34}, {-8, 20, 120, 44},
                            {16, 14, 92, 30},  {32, 10, 64, 24},  {44, 9, 40, 18}};
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    // Curtain wall joining the towers.
    p.drawRect(QRectF(x - 52 * s, groundY - 34 * s, 110 * s, 36 * s));
    for (const Tower &t : towers) {
        const QRectF r(x + t.dx * s, groundY - t.h * s, t.w * s, t.h * s + 2);
        p.drawRect(r);
        QPolygonF roof;
        roof << QPointF(r.left() - 2 * s, r.top()) << QPointF(r.center().x(), r.top() - t.roof * s)
             << QPointF(r.right() + 2 * s, r.top());
        p.drawPolygon(roof);
        // A thin spire pin on the tallest towers.
        if (t.h > 80) {
            p.drawRect(
                QRectF(r.center().x() - 0.6 * s, r.top() - t.roof * s - 10 * s, 1.2 * s, 10 * s));
        }
    }
    // Lit windows, each with a faint halo.
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(0, 1);
    for (const Tower &t : towers) {
        const int rows = int(t.h / 22);
        for (int r = 0; r < rows; ++r) {
            if (u(rng) < 0.45)
                continue;
            const QPointF c(x + (t.dx + t.w / 2) * s, groundY - (t.h - 14 - r * 20) * s);
            QColor halo = window;
            halo.setAlpha(70);
            glow(p, c, 7 * s, halo);
            p.setPen(Qt::NoPen);
            p.setBrush(window);
            p.drawRoundedRect(QRectF(c.x() - 1.3 * s, c.y() - 2.4 * s, 2.6 * s, 4.8 * s), 1.2 * s,
                              1.2 * s);
        }
    }
}

QColor mix(QColor a, QColor b, double t)
{
    return QColor::fromRgbF(
        a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

} // namespace

void drawScene(QPainter &p, QSize size, const SceneOptions &o)
{
    const double w = size.width();
    const double h = size.height();
    const double s = o.scale;
    const double horizon = h * 0.66;
    std::mt19937 rng(o.seed);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, o.skyTop);
    sky.setColorAt(0.55, o.skyMid);
    sky.setColorAt(1, o.skyHorizon);
    p.fillRect(QRectF(0, 0, w, h), sky);

    // Faint nebula veils give the sky depth.
    QColor veilA(60, 140, 190, 34), veilB(150, 90, 190, 30);
    glow(p, QPointF(w * 0.25, h * 0.18), 420 * s, veilA);
    glow(p, QPointF(w * 0.55, h * 0.08), 360 * s, veilB);
    QColor warm = o.horizonGlow;
    warm.setAlpha(60);
    p.save();
    p.translate(o.moon.x(), horizon);
    p.scale(2.6, 0.55);
    glow(p, QPointF(0, 0), 360 * s, warm);
    p.restore();

    stars(p, rng, QRectF(0, 0, w, horizon), int(520 * s * s + 120), 3.0);

    // Moon with its halo and a few soft maria.
    glow(p, o.moon, o.moonRadius * 5.2, QColor(255, 232, 180, 70));
    glow(p, o.moon, o.moonRadius * 2.0, QColor(255, 240, 205, 90));
    QRadialGradient disc(o.moon - QPointF(o.moonRadius * 0.3, o.moonRadius * 0.3),
                         o.moonRadius * 1.3);
    disc.setColorAt(0, QColor("#fffaf0"));
    disc.setColorAt(0.7, QColor("#f6e5be"));
    disc.setColorAt(1, QColor("#e8cf98"));
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(o.moon, o.moonRadius, o.moonRadius);
    std::uniform_real_distribution<double> u01(0, 1);
    for (int i = 0; i < 9; ++i) {
        const double a = u01(rng) * 6.283;
        const double r = std::sqrt(u01(rng)) * o.moonRadius * 0.7;
        const double cr = o.moonRadius * (0.08 + 0.18 * u01(rng));
        // Soft-edged maria rather than hard discs.
        const QPointF mc = o.moon + QPointF(std::cos(a) * r, std::sin(a) * r);
        QRadialGradient mare(mc, cr);
        mare.setColorAt(0, QColor(185, 155, 105, 44));
        mare.setColorAt(0.7, QColor(185, 155, 105, 26));
        mare.setColorAt(1, QColor(185, 155, 105, 0));
        p.setBrush(mare);
        p.drawEllipse(mc, cr, cr);
    }

    // Thin clouds drifting across the moon.
    for (int i = 0; i < 7; ++i) {
        const QPointF c(o.moon.x() + (u01(rng) - 0.5) * 700 * s,
                        o.moon.y() + (u01(rng) - 0.2) * 160 * s);
        p.save();
        p.translate(c);
        p.scale(4.5, 0.45);
        glow(p, QPointF(0, 0), (50 + 60 * u01(rng)) * s, QColor(170, 160, 200, 40));
        p.restore();
    }

    // Mountain layers from far to near; each layer fades into a band of mist.
    struct Layer
    {
        double base, amp, freq, sharp;
        QColor colour;
    };
    const QColor far("#4b4772"), nearC("#070a13");
    const Layer layers[] = {
        {horizon - 10 * s, 150 * s, 0.004 / s, 1.2, mix(far, o.skyHorizon, 0.35)},
        {horizon + 20 * s, 120 * s, 0.006 / s, 1.1, mix(far, nearC, 0.35)},
        {horizon + 60 * s, 110 * s, 0.005 / s, 1.0, mix(far, nearC, 0.6)},
        {horizon + 120 * s, 90 * s, 0.007 / s, 0.9, mix(far, nearC, 0.8)},
        {h + 20 * s, 120 * s, 0.004 / s, 0.8, nearC},
    };
    int index = 0;
    for (const Layer &l : layers) {
        Noise1D noise(o.seed * 31 + index * 7);
        QPainterPath path = ridge(noise, -4, w + 4, l.base, l.amp, l.freq, h + 4, 6, l.sharp);
        QLinearGradient shade(0, l.base - l.amp, 0, l.base + 60 * s);
        shade.setColorAt(0, l.colour.lighter(115));
        shade.setColorAt(1, l.colour);
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        p.drawPath(path);
        // Moonlit rim on the ridge line.
        QColor rim(230, 215, 255, index < 2 ? 40 : 26);
        p.strokePath(path, QPen(rim, 1.0));
        if (index == 2 && o.castle)
            castle(p, o.moon.x() + 60 * s, l.base - l.amp * 0.62, 0.9 * s,
                   mix(l.colour, nearC, 0.25), QColor(255, 200, 120));
        if (index < 4) {
            QLinearGradient mist(0, l.base - 20 * s, 0, l.base + 50 * s);
            mist.setColorAt(0, QColor(150, 150, 200, 0));
            mist.setColorAt(0.6, QColor(140, 140, 190, 32));
            mist.setColorAt(1, QColor(120, 120, 170, 0));
            p.fillRect(QRectF(0, l.base - 20 * s, w, 70 * s), mist);
        }
        ++index;
    }

    // Drifting lanterns over the valley.
    std::uniform_real_distribution<double> ux(0, w);
    for (int i = 0; i < int(46 * s + 8); ++i) {
        const QPointF c(ux(rng), horizon - 120 * s + u01(rng) * 260 * s);
        const double r = (1.2 + std::pow(u01(rng), 2) * 2.6) * s;
        QColor halo = o.lanternColour;
        halo.setAlpha(int(60 + 80 * u01(rng)));
        glow(p, c, r * 7, halo);
        p.setBrush(o.lanternColour.lighter(130));
        p.drawEllipse(c, r, r);
    }

    // Vignette keeps the edges quiet so the page's controls read well.
    QRadialGradient vignette(QPointF(w * 0.55, h * 0.4), std::max(w, h) * 0.75);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 150));
    p.fillRect(QRectF(0, 0, w, h), vignette);
}

bool saveIco(const QString &path, const std::vector<QImage> &images)
{
    // ICO with PNG-compressed entries, which every Windows since Vista reads.
    std::vector<QByteArray> blobs;
    for (const QImage &image : images) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        blobs.push_back(png);
    }
    QByteArray out;
    auto put16 = [&out](quint16 v) {
        out.append(char(v & 0xff));
        out.append(char(v >> 8));
    };
    auto put32 = [&](quint32 v) {
        put16(quint16(v & 0xffff));
        put16(quint16(v >> 16));
    };
    put16(0);
    put16(1);
    put16(quint16(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int sz = images[i].width();
        out.append(char(sz >= 256 ? 0 : sz));
        out.append(char(sz >= 256 ? 0 : images[i].height()));
        out.append(char(0));
        out.append(char(0));
        put16(1);
        put16(32);
        put32(quint32(blobs[i].size()));
        put32(offset);
        offset += quint32(blobs[i].size());
    }
    for (const QByteArray &b : blobs)
        out.append(b);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(out) == out.size();
}

} // namespace ArtKit
