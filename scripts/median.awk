# median(key): the median of values[key, 1..count[key]], for the scripts
# that time two things in turns (frame-ratio.sh, twin-ratio.sh).
function median(key,    n, i, j, t, v) {
    n = count[key]
    for (i = 1; i <= n; i++) v[i] = values[key, i]
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
}
