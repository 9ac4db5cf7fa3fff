# legacy patient file: a two-day recording, as fileconv reads it, every
# text its own. The name (lead bytes FA, FB) runs past the new record's 20
# bytes with 髙 on bytes 19-20.
patientName: 髙﨑 一郎 ﾀｶｻｷ ｲﾁﾛｳ髙橋
patientAddress: 3-1 Kita, Sapporo
patientPhone: 011-222-3333
physicianName: Dr. Tanaka
physicianAddress: 9-8 Minami
physicianPhone: 011-444-5555
socialSecurityNumber: SS-20
insurance: Kokuho
medicareNumber: MC-31
age: 61
sex: M
height: 158
weight: 49
medications: nifedipine
comments: readings at home
day2Sleep: 2345
day2Wake: 0640
startDate: 2026-11-02
startHour: 8
recordingHours: 48
recorderId: 4
day1Sleep: 2230
day1Wake: 0615
interval1Hours: 30
interval2Date: 2026-11-03
interval2Hour: 9
interval2Hours: 12
firstReading: 2026-11-02 08:10
lastReading: 2026-11-04 07:50
