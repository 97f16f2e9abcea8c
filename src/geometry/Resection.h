// Three-point resection: the station P from its direction readings r1, r2, r3
// (radians, one round, any zero) towards three points of known position.
#pragma once

namespace calctopo {

// True when the configuration can be computed with confidence: P not within
// 4 grades of the danger circle through the three points, and not two of the
// three angles at P narrower than 4 grades.
bool CheckResection(double x1, double y1, double x2, double y2, double x3, double y3, double r1,
                    double r2, double r3);

// P by the barycentric (Tienstra-form) weights. Call after CheckResection
// passed. False, with x, y unwritten, when the weights give no finite point.
bool ResectionPoint(double x1, double y1, double x2, double y2, double x3, double y3, double r1,
                    double r2, double r3, double& x, double& y);

}  // namespace calctopo
