-- The request mix of scripts/load-test.sh for wrk: content reads, a picture, votes and both kinds of
-- event, in turn, on keep-alive connections. The summary line counts every failure: socket errors,
-- time-outs and answers other than the one the request expects.
local key = { ["X-Talewyn-SDK-Key"] = "demo-sdk-key", ["Content-Type"] = "application/json" }
local counter = 0

local function headers(user)
  local h = {}
  for name, value in pairs(key) do h[name] = value end
  if user then h["X-Talewyn-UserId"] = user end
  return h
end

local analytics = '{"placementKey":"home","eventType":"STORY_ITEM_VIEWED","devicePlatform":"IOS",' ..
                  '"occurredAt":"2026-01-31T09:05:00Z"}'
local sdkEvent = '{"appKey":"demo-app","placementKey":"home","eventType":"STORY_OPEN",' ..
                 '"anonymousUserId":"load","sessionId":"0D3C1E2A-6B1F-4C55-9E0A-2F4B7A9C1D11",' ..
                 '"platform":"IOS","locale":"en-US","sdkVersion":"1.0.0","occurredAt":"2026-01-31T09:05:00Z",' ..
                 '"eventId":"0D3C1E2A-6B1F-4C55-9E0A-2F4B7A9C1D12"}'
local vote = '{"optionId":"c3a10000-0000-4000-8000-000000000041"}'

local requests = {
  function(n) return wrk.format("GET", "/sdk/v1/apps/demo-app/placements/home/stories", headers("user-" .. n % 50)) end,
  function() return wrk.format("GET", "/sdk/v1/apps/demo-app/placements/home/banners", headers()) end,
  function() return wrk.format("GET", "/media/stories/kitchen-quiz.png") end,
  function(n) return wrk.format("POST", "/sdk/v1/apps/demo-app/story-items/7e0b3f1a-5c2d-4a8e-b6f4-100000000004/vote",
                                headers("user-" .. n % 500), vote) end,
  function() return wrk.format("POST", "/sdk/v1/apps/demo-app/events", headers(), analytics) end,
  function() return wrk.format("POST", "/sdk/v1/events", headers(), sdkEvent) end,
}

-- MIX=reads keeps to the first three (no database writes), to tell the HTTP layer from SQLite's commits.
local kinds = os.getenv("MIX") == "reads" and 3 or #requests

request = function()
  counter = counter + 1
  return requests[counter % kinds + 1](counter)
end

done = function(summary, latency, requests)
  local e = summary.errors
  local failures = e.connect + e.read + e.write + e.timeout + e.status
  io.write(string.format("requests %d in %.1f s: %.0f requests/s, p50 %.2f ms, p99 %.2f ms, max %.2f ms, errors %d\n",
                         summary.requests, summary.duration / 1e6, summary.requests / (summary.duration / 1e6),
                         latency:percentile(50) / 1000, latency:percentile(99) / 1000, latency.max / 1000, failures))
end
