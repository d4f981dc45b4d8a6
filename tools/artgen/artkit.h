#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>

#include <random>
#include <vector>

// Drawing helpers shared by the picture generators: deterministic noise, ridge lines,
// glows and the small vector glyphs of the buttons.
namespace ArtKit {

// Smooth 1-D fractal noise in [0, 1]; the same seed always gives the same curve.
class Noise1D
{
public:
    explicit Noise1D(unsigned seed, int lattice = 512);
    double value(double x) const;
    double fbm(double x, int octaves, double persistence = 0.5) const;

private:
    std::vector<double> m_values;
};

QImage newImage(int width, int height);

// A mountain ridge from x0 to x1 with its base at baseY, filled down to bottomY.
QPainterPath ridge(const Noise1D &noise, double x0, double x1, double baseY, double amplitude,
                   double frequency, double bottomY, int octaves = 5, double sharpness = 1.0);

void glow(QPainter &p, QPointF centre, double radius, QColor colour);
void stars(QPainter &p, std::mt19937 &rng, QRectF area, int count, double horizonFade);

// A gold plate for the large action buttons; state 0 normal, 1 hover, 2 pressed.
QImage goldButton(int width, int height, int state);

// Night landscape with moon, mountains and a castle; used by the page and the updater.
struct SceneOptions
{
    QColor skyTop = QColor("#060a14");
    QColor skyMid = QColor("#111a33");
    QColor skyHorizon = QColor("#4a3560");
    QColor horizonGlow = QColor(255, 170, 110);
    QPointF moon = {930, 190};
    double moonRadius = 64;
    double scale = 1.0;
    unsigned seed = 7;
    bool castle = true;
    QColor lanternColour = QColor(255, 204, 110);
};
void drawScene(QPainter &p, QSize size, const SceneOptions &options);

bool saveIco(const QString &path, const std::vector<QImage> &images);

} // namespace ArtKit
