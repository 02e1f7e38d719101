// The page's one connection to the host: the WebSocket at /api/socket, which carries every command, its
// answer and the news the host sends unasked (apps/workbench/Server.h).
//
//   const protocol = new Protocol({ status });
//   protocol.on('hello' | 'document' | 'dialog' | 'abandoned' | 'answer' | 'closed', listener);
//   protocol.connect();
//   protocol.send({ do: 'undo' }).then((answer) => ...);   // rejects with an Error whose .status is the
//                                                          // HTTP status the host would have answered
//
// Commands go as {"id": N, "do": NAME, ...} and their answers repeat the id. Several are on their way at once,
// in the order they were sent, up to the host's limit; the rest wait here. The host's greeting lists the
// commands it takes with their fields: a command or field it does not list is refused here, before it goes.
//
// A command sent with { latest: KIND } takes the place of the one of that kind still waiting to go, so that
// while one is on its way only the latest waits (a drag follows the pointer however slow the round trip).
// Both promises then settle with the answer to the one that went. A waiting command goes at once when any
// other command is sent after it, so that order is kept.
//
// Every answer and every "document" event carries a delta from what the page was last sent; listeners of
// "answer" (and of "document") get them in the order they came, before the command's promise settles.
//
// When the socket closes, the commands on their way are refused, listeners of "closed" are told, and the
// page connects again, waiting a little longer after each failure. A new connection is a new client of the
// host, which has sent it nothing yet: listeners of "hello" ask for the state, whose delta is everything.
//
// The socket's address carries the page's token (access.js): the server checks it before the handshake, so
// a page without it never gets a socket.
import { socketUrl } from './access.js';

// The host reads this many commands before it waits for their answers (Server::kMaxCommandsInFlight).
const MAX_IN_FLIGHT = 64;
const FIRST_RETRY_MS = 250;
const LAST_RETRY_MS = 8000;

// A command's own keys besides its fields: its name, and the revision its delta is to start from.
const COMMON_KEYS = new Set(['do', 'since']);

function refusal(message, status) {
  return Object.assign(new Error(message), { status });
}

export class Protocol {
  constructor({ url = defaultUrl(), status = () => {} } = {}) {
    this.url = url;
    this.status = status;
    this.socket = null;
    this.commands = null;        // name -> { fields: Map(name -> field), route, duringDialog }, from the hello
    this.client = 0;
    this.listeners = new Map();  // event name -> Set of listeners
    this.waiting = [];           // { command, latest, waiters: [{ resolve, reject }] } not sent yet
    this.inFlight = new Map();   // id -> the same, with { sentAt, sent } once sent
    this.inFlightOf = new Map(); // latest kind -> how many of it are on their way
    this.nextId = 0;
    this.retries = 0;
    this.retryTimer = 0;
    this.settledWaiters = [];
  }

  on(event, listener) {
    if (!this.listeners.has(event)) this.listeners.set(event, new Set());
    this.listeners.get(event).add(listener);
    return () => this.listeners.get(event).delete(listener);
  }

  emit(event, ...args) {
    for (const listener of this.listeners.get(event) || []) {
      try {
        listener(...args);
      } catch (error) {
        console.error(`a listener of "${event}" failed`, error);
      }
    }
  }

  // Whether the host has greeted this connection, so that commands can go.
  get ready() { return this.commands !== null; }

  connect() {
    clearTimeout(this.retryTimer);
    const socket = new WebSocket(this.url);
    this.socket = socket;
    socket.onmessage = (event) => { if (this.socket === socket) this.received(event.data); };
    socket.onclose = () => { if (this.socket === socket) this.closed(); };
  }

  // The command's answer, or a refusal: the command table's here, the host's otherwise.
  send(command, { latest = null } = {}) {
    return new Promise((resolve, reject) => {
      const problem = this.problem(command);
      if (problem) { reject(problem); return; }
      const waiter = { resolve, reject };
      const tail = this.waiting[this.waiting.length - 1];
      if (latest && tail && tail.latest === latest) {
        tail.command = command;
        tail.waiters.push(waiter);
      } else {
        this.waiting.push({ command, latest, waiters: [waiter] });
      }
      this.pump();
    });
  }

  // Resolves once every command sent so far has been answered (or refused).
  settled() {
    if (this.waiting.length === 0 && this.inFlight.size === 0) return Promise.resolve();
    return new Promise((resolve) => this.settledWaiters.push(resolve));
  }

  problem(command) {
    if (!this.ready) return refusal('the host cannot be reached', 503);
    if (!command || typeof command.do !== 'string') return refusal('the command has no "do" naming it', 400);
    const rule = this.commands.get(command.do);
    if (!rule) return refusal(`the host takes no command "${command.do}"`, 400);
    if (rule.route !== 'socket') return refusal(`"${command.do}" is an HTTP GET, not a socket command`, 400);
    for (const [key, value] of Object.entries(command)) {
      if (COMMON_KEYS.has(key)) continue;
      const field = rule.fields.get(key);
      if (!field) return refusal(`"${command.do}" has no field "${key}"`, 400);
      if (field.choices && !field.choices.includes(value)) {
        return refusal(`"${command.do}": "${key}" must be one of ${field.choices.join(', ')}`, 400);
      }
    }
    return null;
  }

  pump() {
    while (this.ready && this.waiting.length > 0 && this.inFlight.size < MAX_IN_FLIGHT) {
      const next = this.waiting[0];
      // The latest of its kind waits while another of its kind is on its way, unless something follows it.
      if (next.latest && this.waiting.length === 1 && this.inFlightOf.get(next.latest) > 0) break;
      this.waiting.shift();
      const id = ++this.nextId;
      const text = JSON.stringify({ id, ...next.command });
      next.sentAt = performance.now();
      next.sent = text.length;
      this.inFlight.set(id, next);
      if (next.latest) this.inFlightOf.set(next.latest, (this.inFlightOf.get(next.latest) || 0) + 1);
      this.socket.send(text);
    }
    this.checkSettled();
  }

  checkSettled() {
    if (this.waiting.length > 0 || this.inFlight.size > 0) return;
    for (const resolve of this.settledWaiters.splice(0)) resolve();
  }

  received(text) {
    let message;
    try {
      message = JSON.parse(text);
    } catch {
      this.status('the host sent a message that is not JSON');
      return;
    }
    if (typeof message.event === 'string') {
      if (message.event === 'hello') this.greeted(message);
      else this.emit(message.event, message);
      return;
    }
    const entry = this.inFlight.get(message.id);
    if (!entry) {
      if (message.ok === false) this.status(`the host refused a message: ${message.error}`);
      return;
    }
    this.inFlight.delete(message.id);
    if (entry.latest) this.inFlightOf.set(entry.latest, this.inFlightOf.get(entry.latest) - 1);
    if (message.ok === false) {
      for (const { reject } of entry.waiters) reject(refusal(message.error, message.http));
    } else {
      // What the trace reads: when the command went, the bytes each way, and when the answer was taken in.
      const wire = { sentAt: entry.sentAt, sent: entry.sent, received: text.length, takenAt: 0,
                     coalesced: entry.waiters.length };
      Object.defineProperty(message, 'wire', { value: wire });
      this.emit('answer', message, entry.command);
      wire.takenAt = performance.now();
      for (const { resolve } of entry.waiters) resolve(message);
    }
    this.pump();
  }

  greeted(hello) {
    this.client = hello.client;
    this.commands = new Map(hello.commands.map((rule) => [rule.do, {
      route: rule.route,
      duringDialog: rule.duringDialog,
      fields: new Map(rule.fields.map((field) => [field.name, field])),
    }]));
    if (this.retries > 0) this.status('connected to the host again');
    this.retries = 0;
    this.emit('hello', hello);
    this.pump();
  }

  closed() {
    this.socket = null;
    this.commands = null;
    const lost = [...this.inFlight.values(), ...this.waiting];
    this.inFlight.clear();
    this.inFlightOf.clear();
    this.waiting = [];
    for (const entry of lost) {
      for (const { reject } of entry.waiters) reject(refusal('the connection to the host closed', 503));
    }
    this.checkSettled();
    this.emit('closed');
    const wait = Math.min(LAST_RETRY_MS, FIRST_RETRY_MS * 2 ** this.retries);
    ++this.retries;
    this.status(`the connection to the host closed; connecting again in ${(wait / 1000).toFixed(1)} s`);
    this.retryTimer = setTimeout(() => this.connect(), wait);
  }
}

function defaultUrl() {
  return socketUrl('/api/socket');
}
