#include "QrvAnalyzeBatch.h"

#include "QrvDocumentAnalysis.h"
#include "QrvErrors.h"
#include "QrvFeatureText.h"
#include "QrvFileWriter.h"

namespace qrv
{

std::string AnalysisText(const TDocument& document)
{
    std::string text;
    for (const TFeature& feature : AnalyzeDocument(document))
        text += FeatureLine(feature);
    return text;
}

void WriteAnalysis(const std::string& destination, const TDocument& document, std::ostream& out)
{
    const std::string text = AnalysisText(document);
    if (destination != "-") {
        WriteWholeFile(destination, text);
        return;
    }
    out << text;
    out.flush();
    if (!out) throw Exception(Msg::CannotWriteOutput);
}

} // namespace qrv
