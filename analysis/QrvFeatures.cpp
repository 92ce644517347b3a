#include "QrvFeatures.h"

#include "QrvFeatureSearch.h"
#include "QrvIntegral.h"
#include "QrvSampleGrid.h"
#include "QrvSampledCurve.h"

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

namespace qrv
{

namespace
{

// The initial pieces of an integral: one per thousand samples, so that the
// rule sees at least that much of the structure the plot shows.
constexpr std::size_t kSamplesPerPiece = 1000;
constexpr int kMaxPieces = 64;

// f - g of two curves, for their intersections. Keeps f's value at every
// point it evaluated, for the y of an intersection.
class TDifference : public TAnalysisFunction
{
public:
    TDifference(TSampledCurve& f, TSampledCurve& g) : f_(f), g_(g) {}

    TSample Sample(Float x)
    {
        const TSample a = f_.At(x);
        const TSample b = g_.At(x);
        if (!a.Jet) return {x, std::nullopt, a.Failure};
        if (!b.Jet) return {x, std::nullopt, b.Failure};
        fValues_[x] = a.Jet->Value;
        TJet jet;
        jet.Value = a.Jet->Value - b.Jet->Value;
        jet.HasD1 = a.Jet->HasD1 && b.Jet->HasD1;
        jet.D1 = jet.HasD1 ? a.Jet->D1 - b.Jet->D1 : 0;
        jet.HasD2 = a.Jet->HasD2 && b.Jet->HasD2;
        jet.D2 = jet.HasD2 ? a.Jet->D2 - b.Jet->D2 : 0;
        return {x, jet, {}};
    }

    std::optional<TJet> At(Float x, TJetNeed) override
    {
        TSample s = Sample(x);
        failure_ = s.Failure;
        return s.Jet;
    }
    std::string FailureText() const override { return failure_; }
    bool PoleBetween(Float xa, Float, Float xb, Float) override
    {
        return PoleOf(f_, xa, xb) || PoleOf(g_, xa, xb);
    }

    Float FValue(Float x) const
    {
        auto it = fValues_.find(x);
        return it == fValues_.end() ? 0 : it->second;
    }

private:
    static bool PoleOf(TSampledCurve& curve, Float xa, Float xb)
    {
        const TSample a = curve.At(xa), b = curve.At(xb);
        if (!a.Jet || !b.Jet) return true;
        return curve.Function().PoleBetween(xa, a.Jet->Value, xb, b.Jet->Value);
    }

    TSampledCurve& f_;
    TSampledCurve& g_;
    std::map<Float, Float> fValues_;
    std::string failure_;
};

// The integral of one curve, or why it has none: the first failing sample or
// pole along the run comes first.
TFeature IntegralOf(const TCurveInput& input, TSampledCurve& curve, const TSearchResult& search)
{
    TFeature feature;
    feature.Kind = TFeatureKind::Integral;
    feature.Curve = input.Number;
    const bool upwards = input.Step > 0;
    auto earlier = [upwards](Float x, Float y) { return upwards ? x < y : x > y; };

    bool fault = false;
    for (const TSample& s : curve.Samples()) {
        if (s.Jet) continue;
        if (!fault || earlier(s.X, feature.FaultX)) {
            fault = true;
            feature.NoValue = TNoValue::Failure;
            feature.FaultX = s.X;
            feature.FaultMessage = s.Failure;
        }
    }
    for (const TPoleInterval& pole : search.Poles) {
        const Float middle = pole.XA + (pole.XB - pole.XA) / 2;
        if (!fault || earlier(middle, feature.FaultX)) {
            fault = true;
            feature.NoValue = TNoValue::Pole;
            feature.FaultX = middle;
            feature.FaultWidth = pole.XB - pole.XA;
            feature.FaultMessage.clear();
        }
    }
    if (fault) return feature;

    const std::size_t samples = curve.Samples().size();
    const int pieces = static_cast<int>(std::clamp<std::size_t>(samples / kSamplesPerPiece, 1, kMaxPieces));
    const TIntegral integral = Integrate(curve.Function(), input.XMin, input.XMax, pieces);
    feature.Value = integral.Value;
    feature.Error = integral.Error;
    feature.NoValue = integral.NoValue;
    feature.FaultX = integral.FaultX;
    feature.FaultMessage = integral.FaultMessage;
    return feature;
}

void AddIntersections(const TCurveInput& first, TSampledCurve& f, const TCurveInput& second, TSampledCurve& g,
                      std::vector<TFeature>& out)
{
    const Float lo = std::max(std::min(first.XMin, first.XMax), std::min(second.XMin, second.XMax));
    const Float hi = std::min(std::max(first.XMin, first.XMax), std::max(second.XMin, second.XMax));
    if (lo > hi) return;
    std::vector<Float> xs;
    for (const TSample& s : f.Samples())
        if (s.X >= lo && s.X <= hi) xs.push_back(s.X);
    for (const TSample& s : g.Samples())
        if (s.X >= lo && s.X <= hi) xs.push_back(s.X);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

    TDifference difference(f, g);
    std::vector<TSample> samples;
    samples.reserve(xs.size());
    for (Float x : xs)
        samples.push_back(difference.Sample(x));
    const TSearchResult search = SearchFeatures(difference, samples, false);
    for (const TFoundPoint& p : search.Features) {
        if (p.Kind != TFeatureKind::Root) continue;
        TFeature feature;
        feature.Kind = TFeatureKind::Intersection;
        feature.Curve = first.Number;
        feature.OtherCurve = second.Number;
        feature.X = p.X;
        feature.Y = difference.FValue(p.X);
        out.push_back(feature);
    }
}

} // namespace

std::vector<TFeature> AnalyzeCurves(const std::vector<TCurveInput>& curves, TAnalysisCounts* counts)
{
    TAnalysisCounts ownCounts;
    TAnalysisCounts& tally = counts ? *counts : ownCounts;
    std::vector<TFeature> features;
    std::vector<std::unique_ptr<TSampledCurve>> sampled;
    for (const TCurveInput& input : curves) {
        sampled.push_back(std::make_unique<TSampledCurve>(*input.Function, tally,
                                                          SampleXs(input.XMin, input.XMax, input.Step)));
        TSampledCurve& curve = *sampled.back();
        const TSearchResult search = SearchFeatures(curve.Function(), curve.Samples(), true);
        for (const TFoundPoint& p : search.Features) {
            TFeature feature;
            feature.Kind = p.Kind;
            feature.Curve = input.Number;
            feature.X = p.X;
            feature.Y = p.Jet.Value;
            features.push_back(feature);
        }
        features.push_back(IntegralOf(input, curve, search));
    }
    for (std::size_t i = 0; i < curves.size(); ++i)
        for (std::size_t j = i + 1; j < curves.size(); ++j) {
            const bool ordered = curves[i].Number < curves[j].Number;
            const std::size_t a = ordered ? i : j, b = ordered ? j : i;
            AddIntersections(curves[a], *sampled[a], curves[b], *sampled[b], features);
        }
    SortFeatures(features);
    return features;
}

void SortFeatures(std::vector<TFeature>& features)
{
    auto key = [](const TFeature& f) {
        const bool pair = f.Kind == TFeatureKind::Intersection;
        const bool integral = f.Kind == TFeatureKind::Integral;
        return std::make_tuple(pair, f.Curve, f.OtherCurve, integral, f.X, static_cast<int>(f.Kind));
    };
    std::stable_sort(features.begin(), features.end(),
                     [&](const TFeature& a, const TFeature& b) { return key(a) < key(b); });
}

} // namespace qrv
