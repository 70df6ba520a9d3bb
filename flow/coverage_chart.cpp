#include "flow/coverage_chart.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "base/messages.h"

namespace {

constexpr double width = 720, height = 440;
constexpr double left = 70, right = 30, top = 50, bottom = 60;
constexpr const char* colors[] = {"#c0392b", "#2471a3", "#1e8449", "#7d3c98"};

// A tick step of 1, 2 or 5 times a power of ten giving at most about eight ticks.
double tick_step(double range) {
  const double rough = range / 8;
  const double power = std::pow(10, std::floor(std::log10(std::max(rough, 1e-9))));
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * power >= rough) return m * power;
  }
  return 10 * power;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '&')
      out += "&amp;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

}  // namespace

std::string coverage_chart_svg(const std::string& title, const std::vector<coverage_series_t>& series,
                               bool log_x) {
  size_t most = 1;
  for (const coverage_series_t& s : series)
    most = std::max(most, s.coverage.size() - (s.coverage.empty() ? 0 : 1));
  const double x_max = static_cast<double>(most);
  const double plot_w = width - left - right, plot_h = height - top - bottom;
  // Logarithmic: from 1 to the next power of ten at or above the longest set.
  const double decades = std::max(1.0, std::ceil(std::log10(x_max) - 1e-9));
  auto x_of = [&](double patterns) {
    if (!log_x) return left + plot_w * patterns / x_max;
    return left + plot_w * (patterns < 1 ? 0 : std::log10(patterns) / decades);
  };
  auto y_of = [&](double percent) { return top + plot_h * (1 - percent / 100); };

  std::ostringstream svg;
  svg.setf(std::ios::fixed);
  svg.precision(2);
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
      << "\" viewBox=\"0 0 " << width << " " << height << "\" font-family=\"sans-serif\" font-size=\"12\">\n";
  svg << "<rect x=\"0\" y=\"0\" width=\"" << width << "\" height=\"" << height << "\" fill=\"white\"/>\n";
  svg << "<text x=\"" << width / 2 << "\" y=\"28\" text-anchor=\"middle\" font-size=\"16\">" << escaped(title)
      << "</text>\n";
  // Grid and ticks.
  auto x_tick = [&](double t) {
    svg << "<line x1=\"" << x_of(t) << "\" y1=\"" << top << "\" x2=\"" << x_of(t) << "\" y2=\""
        << top + plot_h + 5 << "\" stroke=\"#dddddd\"/>\n";
    svg << "<text x=\"" << x_of(t) << "\" y=\"" << top + plot_h + 20 << "\" text-anchor=\"middle\">"
        << static_cast<long long>(std::llround(t)) << "</text>\n";
  };
  if (log_x) {
    for (int d = 0; d <= static_cast<int>(decades); d++) x_tick(std::pow(10, d));
  } else {
    const double x_step = tick_step(x_max);
    for (double t = 0; t <= x_max + 1e-9; t += x_step) x_tick(t);
  }
  for (int t = 0; t <= 100; t += 10) {
    svg << "<line x1=\"" << left - 5 << "\" y1=\"" << y_of(t) << "\" x2=\"" << left + plot_w << "\" y2=\""
        << y_of(t) << "\" stroke=\"#dddddd\"/>\n";
    svg << "<text x=\"" << left - 9 << "\" y=\"" << y_of(t) + 4 << "\" text-anchor=\"end\">" << t
        << "</text>\n";
  }
  svg << "<line x1=\"" << left << "\" y1=\"" << top + plot_h << "\" x2=\"" << left + plot_w << "\" y2=\""
      << top + plot_h << "\" stroke=\"black\"/>\n";
  svg << "<line x1=\"" << left << "\" y1=\"" << top << "\" x2=\"" << left << "\" y2=\"" << top + plot_h
      << "\" stroke=\"black\"/>\n";
  svg << "<text x=\"" << left + plot_w / 2 << "\" y=\"" << height - 15
      << "\" text-anchor=\"middle\">patterns applied" << (log_x ? " (logarithmic)" : "") << "</text>\n";
  svg << "<text x=\"18\" y=\"" << top + plot_h / 2 << "\" text-anchor=\"middle\" transform=\"rotate(-90 18 "
      << top + plot_h / 2 << ")\">fault coverage (%)</text>\n";
  // Curves, then the legend in the lower right corner.
  for (size_t s = 0; s < series.size(); s++) {
    svg << "<polyline fill=\"none\" stroke=\"" << colors[s % std::size(colors)]
        << "\" stroke-width=\"1.8\" points=\"";
    for (size_t k = 0; k < series[s].coverage.size(); k++) {
      svg << (k ? " " : "") << x_of(static_cast<double>(k)) << "," << y_of(series[s].coverage[k]);
    }
    svg << "\"/>\n";
  }
  for (size_t s = 0; s < series.size(); s++) {
    const double y = top + plot_h - 20 - 20.0 * static_cast<double>(series.size() - 1 - s);
    const double x = left + plot_w - 260;
    svg << "<line x1=\"" << x << "\" y1=\"" << y << "\" x2=\"" << x + 24 << "\" y2=\"" << y << "\" stroke=\""
        << colors[s % std::size(colors)] << "\" stroke-width=\"3\"/>\n";
    svg << "<text x=\"" << x + 32 << "\" y=\"" << y + 4 << "\">" << escaped(series[s].label) << "</text>\n";
  }
  svg << "</svg>\n";
  return svg.str();
}

void write_coverage_chart(const std::string& path, const std::string& title,
                          const std::vector<coverage_series_t>& series, bool log_x) {
  std::ofstream out(path);
  out << coverage_chart_svg(title, series, log_x);
  if (!out) error(string_C("cannot write the chart " + path));
}
